#pragma once
// The command-line tool's arguments and refusals, shared by its commands.
#include <QString>
#include <QStringList>

#include <map>

namespace cli {

// A refused input: the one-line message and exit status 1.
struct Refusal {
    QString message;
};

// The arguments of one command: positional values and "--name [value]" options.
class CArgs {
public:
    CArgs(const QStringList& args, const QStringList& flags, const QStringList& valued)
    {
        for (int i = 0; i < args.size(); ++i) {
            const QString& a = args.at(i);
            if (!a.startsWith(QStringLiteral("--"))) {
                m_positional.append(a);
                continue;
            }
            const QString name = a.mid(2);
            if (flags.contains(name)) {
                m_options[name] = QString();
            } else if (valued.contains(name) && i + 1 < args.size()) {
                m_options[name] = args.at(++i);
            } else {
                m_bad = true;
            }
        }
    }
    bool Valid(int positionalCount) const { return !m_bad && m_positional.size() == positionalCount; }
    QString At(int i) const { return m_positional.value(i); }
    bool Has(const QString& name) const { return m_options.count(name) != 0; }
    QString Value(const QString& name) const
    {
        const auto it = m_options.find(name);
        return it == m_options.end() ? QString() : it->second;
    }

private:
    QStringList m_positional;
    std::map<QString, QString> m_options;
    bool m_bad = false;
};

} // namespace cli
