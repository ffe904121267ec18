#pragma once
// What the logo view uses of the running program: the services its roles
// share (printer/ProgramHost.h) and the application's own "Convert Picture",
// which opens the converted logo in a new window. The application hands one
// to every view it makes.
#include "printer/ProgramHost.h"

#include <QString>

namespace picture {
class CPicture;
}

class CViewHost : public CProgramHost {
public:
    // "Convert Picture" for a picture: a new logo window, or nothing (refused,
    // with a message, or cancelled). suggestedFile: what Save As offers.
    virtual void ConvertPictureToLogo(const picture::CPicture& picture, const QString& suggestedFile) = 0;
};
