#pragma once
// The state of the three lock keys (Caps Lock, Num Lock, Scroll Lock) as the
// keyboard's lock lights show it. Linux exposes each keyboard's lights as
// folders of the LED class ("input3::capslock" holding a "brightness" file),
// whatever display server drives them, which Qt's own modifier flags do not
// report. A state that cannot be read (no such light, an unreadable file) is
// unknown rather than off.
#include <QString>
#include <optional>

enum class LockKey { Caps, Num, Scroll };

// The folder of the kernel's LED class.
QString DefaultLedFolder();

// On when any keyboard's light for the key is lit; nothing when no light for
// the key can be read in ledFolder.
std::optional<bool> ReadLockKeyState(LockKey key, const QString& ledFolder = DefaultLedFolder());
