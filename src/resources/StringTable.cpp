#include "resources/StringTable.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>

namespace {

struct StringEntry {
    UINT id;
    const char16_t* text;
};

// Sorted by id (the lookup relies on it). Texts are kept byte for byte as the
// program has always shown them; do not "fix" spelling or trailing blanks here,
// operators and documentation quote them.
constexpr StringEntry kStrings[] = {
    {101, u"Toggle Draw ToolBar"},
    {102, u"Toggle Generic ToolBar"},
    {103, u"Toggle Image ToolBar"},
    {104, u"Toggle Frame ToolBar"},
    {128, u"Glyphane"},
    {129, u"\nGlypha\nGlyphane\nGlyphane Files (*.lgo)\n.lgo\nGlyphane.Document\nGlyphane Document"},
    {1032, u"Position: "},
    {1033, u"Tool selected: "},
    {1034, u"Size: "},
    {1035, u"Error"},
    {1036, u"The .EXE file is invalid (non-Win32 .EXE or error in .EXE image)."},
    {1037, u"The operating system is out of memory or resources. "},
    {1038, u"The operating system denied access to the specified file. "},
    {1039, u"The file name association is incomplete or invalid."},
    {1040, u"The DDE transaction could not be completed because other DDE transactions were being processed."},
    {1041, u"The DDE transaction failed."},
    {1042, u"The DDE transaction could not be completed because the request timed out."},
    {1043, u"The specified dynamic-link library was not found."},
    {1044, u"The specified file was not found."},
    {1045, u"There is no application associated with the given file name extension. "},
    {1046, u"There was not enough memory to complete the operation."},
    {1047, u"The specified path was not found. "},
    {1049, u"No error listed."},
    {6565, u"Position"},
    {6566, u"Dimension"},
    {6567, u"Tool selected: None."},
    {32831, u"Printer Preview"},
    {32832, u"Make the picture a new logo for a printer"},
    {57345, u"Ready"},
    {59137, u"CAP"},
    {59138, u"NUM"},
    {59139, u"SCRL"},
    {61446, u"Glyphane"},
    {61448, u"No file: %s open. Verify if the path is correct, if the file is open by another process or his integrity is right."},
    {61454, u"Comunication port not init"},
    {61456, u"Send logo to printer"},
    {61457, u"Error send logo to printer!\nVerify if your connection cable is right or if the printer is turned-on.\nRemember that You MUST turn off and turn on your printer before to use."},
    {61459, u"Logo successfully programmed to printer"},
    {61462, u"Printer Selected"},
    {61463, u"Com Port Selected"},
    {61464, u"Remember that You MUST turn off and turn on your printer before using."},
    {61465, u"Please wait: sending operation in progress..."},
    {61466, u"Possible loss of image data. Do you want to continue ?"},
    {61467, u"Image frame"},
    {61469, u"Printer not selected"},
    {61472, u"The printer %s doesn't support LPT Com Port"},
    {61493, u"Toggle Pattern ToolBar"},
    {61506, u"No valid release for Wgj33."},
    {61507, u"Warning!\nIf your MZVZV, MZVZVJV0 or MZVZV-ZC is set to 80mm paper size, You must set the paper size to 112mm before testing or programming a new logo."},
    {61508, u"Please wait..."},
    {61510, u"Wait a moment, until printer reset is completed!"},
    {61511, u"Impossible to get needed information from H'vczil.\nOperation abort!"},
    {61512, u"Error during a communication section.\nThe needed data was not send/read to/from device.\nThis operation abort!"},
    {61513, u"You have problem during the upgrade procedure. Plaese you must repeat the upgrade."},
    {61514, u"Error checksum"},
    {61515, u"You have a serious problem during upgrade phase. Please send your printer to Tessaro Tecnical Service."},
    {61516, u"It is impossible to send bank flash.\nThe upgrade operation abort."},
    {61517, u"Serious error"},
    {61518, u"The selected file name: %s\nwas too long.\nIt will be automatically formatted into old Dos style (8.3): %s."},
    {61519, u"The selected file name: %s\nwas too short.\nIt will be automatically formatted into old Dos style (8.3): %s."},
    {61520, u"Impossible to allocate needed resource.\nOperation aborted."},
    {61521, u"Unable to load file!"},
    {61522, u"%d) Logo %.2d x %.2d"},
    {61523, u"\nError open file: %s"},
    {61524, u"\nImpossible load data Logo to file: %s"},
    {61526, u"Logo Correctly Saved on Psw File!"},
    {61527, u"Logo Correctly Loaded From Psw File!"},
    {61528, u"\nError! The Logo %d from the file %s, isn't compatible with this Printer!"},
    {61529, u"you must to convert the file in black and white"},
    {61530, u"It's impossible loading timeout settings for this communication port."},
    {61531, u"It's impossible setting new timeout settings for this communication port."},
    {61532, u"Logo not successfully programmed to printer"},
    {61533, u"Warning!\nPlease check if in your Printer, the \"Select Line\" is Set to \"Select\" and the \"Fault Line\" is set to \"Fault\"."},
    {61534, u"Please, select al least one logo!"},
    {61536, u"Error!The X Position must be less than %d, and the Y Position must be less than %d."},
    {61541, u"SubLogo number %d"},
    {61542, u"Sorry, but this function is not supported for this device!"},
    {61544, u"Required printer object not allocated. Close program, reboot your system and try again."},
    {61545, u"\"Warning! The Selected Printer is OFFLINE!\""},
    {61546, u"The selected printer don't matck the printer connected.\nPlease select a right printer and try again."},
    {61547, u"The printer %s doesn't support USB Com Port"},
    // This program's own: the box of a job or print that failed when no
    // other box told the operator why.
    {61548, u"The logo was not sent: %s"},
    {61549, u"The logo was not printed: %s"},
    {61550, u"The logo read back from the printer differs from the one sent, from address %s on.\nProgram it again."},
    // A save that found the disk full: over a file that stays as it was, and
    // of a file that did not exist before.
    {61551, u"The disk is full: %s could not be saved. The previous file is unchanged."},
    {61552, u"The disk is full: %s could not be saved."},
    // The printer preview that could not be drawn, and why.
    {61553, u"No preview: %s."},
};

constexpr bool IsSortedById()
{
    for (std::size_t i = 1; i < std::size(kStrings); ++i)
        if (kStrings[i - 1].id >= kStrings[i].id)
            return false;
    return true;
}
static_assert(IsSortedById(), "string table must be sorted by id without duplicates");

} // namespace

QString LoadString(UINT id)
{
    const auto* end = std::end(kStrings);
    const auto* it = std::lower_bound(std::begin(kStrings), end, id,
                                      [](const StringEntry& e, UINT key) { return e.id < key; });
    if (it == end || it->id != id)
        return QString();
    return QString::fromUtf16(it->text);
}

QString FormatResString(UINT id, const QStringList& args)
{
    QVariantList values;
    values.reserve(args.size());
    for (const QString& a : args)
        values.append(QVariant(a));
    return FormatPrintf(LoadString(id), values);
}

namespace {

// Generous for any message box, small enough that "%999999999d" cannot
// allocate without bound.
constexpr int kMaxFieldWidth = 512;

struct Placeholder {
    QString flags;
    int width = -1;
    int precision = -1;
    QChar conversion;
    qsizetype end = 0; // index just past the placeholder
};

int ReadCappedNumber(const QString& format, qsizetype& pos)
{
    int value = 0;
    while (pos < format.size() && format[pos].isDigit()) {
        value = std::min(kMaxFieldWidth, value * 10 + format[pos].digitValue());
        ++pos;
    }
    return value;
}

// Parses the placeholder starting at format[start] == '%'. Returns false when
// the text there is not a complete placeholder.
bool ParsePlaceholder(const QString& format, qsizetype start, Placeholder& p)
{
    qsizetype pos = start + 1;
    while (pos < format.size() && QStringView(u"-+ #0").contains(format[pos]))
        p.flags.append(format[pos++]);
    if (pos < format.size() && format[pos].isDigit())
        p.width = ReadCappedNumber(format, pos);
    if (pos < format.size() && format[pos] == u'.') {
        ++pos;
        p.precision = ReadCappedNumber(format, pos);
    }
    while (pos < format.size() && QStringView(u"hlLqjztI64").contains(format[pos]))
        ++pos;
    if (pos >= format.size())
        return false;
    p.conversion = format[pos];
    p.end = pos + 1;
    return true;
}

QByteArray NumericSpec(const Placeholder& p, const char* length, char conversion)
{
    QByteArray flags = p.flags.toLatin1();
    if (conversion == 'd')
        flags.replace('#', ""); // undefined for signed conversions
    QByteArray spec = "%" + flags;
    if (p.width >= 0)
        spec += QByteArray::number(p.width);
    if (p.precision >= 0)
        spec += "." + QByteArray::number(p.precision);
    return spec + length + conversion;
}

QString PadToWidth(QString text, const Placeholder& p)
{
    if (p.width > text.size()) {
        const QString padding(p.width - text.size(), u' ');
        text = p.flags.contains(u'-') ? text + padding : padding + text;
    }
    return text;
}

QString TextOf(const QVariant& arg)
{
    if (arg.typeId() == QMetaType::Double)
        return QString::number(arg.toDouble());
    return arg.toString();
}

// Renders one placeholder with its argument; nothing for a conversion this
// formatter does not know.
std::optional<QString> RenderPlaceholder(const Placeholder& p, const QVariant& arg)
{
    const char c = p.conversion.toLatin1();
    switch (c) {
    case 'd':
    case 'i':
        return QString::asprintf(NumericSpec(p, "ll", 'd').constData(), arg.toLongLong());
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        return QString::asprintf(NumericSpec(p, "ll", c).constData(), arg.toULongLong());
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
        return QString::asprintf(NumericSpec(p, "", c).constData(), arg.toDouble());
    case 'c': {
        const bool isText = arg.typeId() == QMetaType::QString;
        const QString ch = isText ? arg.toString().left(1) : QString(QChar(char16_t(arg.toUInt() & 0xFFFF)));
        return PadToWidth(ch, p);
    }
    case 's':
    case 'S': {
        QString text = TextOf(arg);
        if (p.precision >= 0)
            text.truncate(p.precision);
        return PadToWidth(text, p);
    }
    default:
        return std::nullopt;
    }
}

} // namespace

QString FormatPrintf(const QString& format, const QVariantList& args)
{
    QString out;
    out.reserve(format.size());
    qsizetype nextArg = 0;
    qsizetype pos = 0;
    while (pos < format.size()) {
        const QChar ch = format[pos];
        if (ch != u'%') {
            out.append(ch);
            ++pos;
            continue;
        }
        if (pos + 1 < format.size() && format[pos + 1] == u'%') {
            out.append(u'%');
            pos += 2;
            continue;
        }
        Placeholder p;
        if (!ParsePlaceholder(format, pos, p)) {
            out.append(format.mid(pos));
            break;
        }
        const QString literal = format.mid(pos, p.end - pos);
        std::optional<QString> rendered;
        if (nextArg < args.size())
            rendered = RenderPlaceholder(p, args[nextArg]);
        if (rendered) {
            out.append(*rendered);
            ++nextArg;
        } else {
            out.append(literal);
        }
        pos = p.end;
    }
    return out;
}
