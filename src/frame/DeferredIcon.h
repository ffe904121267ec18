#pragma once

#include <QIcon>
#include <functional>

// An icon whose pictures are made the first time one is needed (painted,
// sized or asked for), by load. Until then it costs nothing, and where it is
// replaced before it is ever shown, load never runs. It always counts as a
// non-null icon; load should give one.
QIcon DeferredIcon(std::function<QIcon()> load);
