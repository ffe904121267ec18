#pragma once
// The command map of one role of the editor view. The view is the command
// target on the route; it hands each command to its roles' maps in turn, so a
// role adds its commands without the others knowing about them.
#include "platform/CommandRouter.h"

class CRoleCommands : public CCmdTarget {
public:
    using CCmdTarget::MapCommand;
    using CCmdTarget::MapCommandRange;
    using CCmdTarget::MapUpdate;
    using CCmdTarget::MapUpdateRange;
};
