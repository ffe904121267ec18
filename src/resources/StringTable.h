#pragma once
// The program's string table: every message, caption, prompt and pane text,
// keyed by its numeric resource id, with the texts exactly as the program
// shows them (including their trailing blanks and odd spellings).
#include "platform/WinTypes.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <type_traits>

// The text of string id, or an empty string when the table has no such id.
QString LoadString(UINT id);

// printf-style formatting that never trusts the format: each placeholder
// (%s %d %i %u %x %X %o %c %f %e %g and their flags, width, precision and length
// modifiers) takes the next argument converted to what it asks for; a missing
// argument leaves the placeholder text in place, surplus arguments are ignored,
// unknown conversions are copied literally and widths are capped, so a
// mismatched format can neither crash nor allocate without bound.
QString FormatPrintf(const QString& format, const QVariantList& args);

// LoadString(id) filled in with the arguments.
QString FormatResString(UINT id, const QStringList& args);

namespace stringtable_detail {
template <typename T>
QVariant ToFormatArg(const T& value)
{
    if constexpr (std::is_same_v<T, bool>)
        return QVariant(static_cast<int>(value));
    else if constexpr (std::is_integral_v<T> && std::is_signed_v<T>)
        return QVariant(static_cast<qlonglong>(value));
    else if constexpr (std::is_integral_v<T>)
        return QVariant(static_cast<qulonglong>(value));
    else if constexpr (std::is_floating_point_v<T>)
        return QVariant(static_cast<double>(value));
    else if constexpr (std::is_convertible_v<T, const char*>)
        return QVariant(QString::fromUtf8(static_cast<const char*>(value)));
    else
        return QVariant(QString(value));
}
} // namespace stringtable_detail

// LoadString(id) filled in with values of any integer, floating, QString or
// C-string type, for example FormatResString(61522, slot + 1, width, height).
template <typename... Args>
QString FormatResString(UINT id, const Args&... args)
{
    return FormatPrintf(LoadString(id), QVariantList{stringtable_detail::ToFormatArg(args)...});
}
