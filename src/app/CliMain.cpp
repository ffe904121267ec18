// glyphane-cli: the logo operations of the editor from the command line. It
// never opens a window; a prompt is answered with its first choice and its
// text goes to standard error.
#include "app/CliCommands.h"
#include "app/GlyphaneApp.h"
#include "platform/UiSeam.h"

#include <QLoggingCategory>

#include <cstdio>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The components' debug lines are for developers; QT_LOGGING_RULES brings them back.
    if (!qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
        QLoggingCategory::setFilterRules(QStringLiteral("glyphane.*.debug=false"));
    CGlyphaneApp app(argc, argv);
    InstallHeadlessUi();
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        (args.isEmpty() ? err : out) << cli::Usage();
        return args.isEmpty() ? cli::kExitUsage : cli::kExitOk;
    }
    QString why;
    if (!app.InitHeadless(&why)) {
        err << "glyphane-cli: " << why << "\n";
        return cli::kExitRefused;
    }
    return cli::Run(args, out, err);
}
