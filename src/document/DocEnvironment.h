#pragma once
// What a logo document needs from the program around it. The application
// fills one in for every document it makes; the command-line tool and the
// tests fill in their own. The document reaches nothing else of the program.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class CLogFile;

struct CDocEnvironment {
    // The program folder, with a trailing separator; configuration files and
    // the header template are named relative to it.
    QString programFolder;
    // The BMP header template of new and saved logos, relative to the program folder.
    QString headerTemplateName;
    // The window that owns the document's messages; they go through the
    // platform's UI seam, so a test script or the headless tool answers them.
    QPointer<QObject> messageOwner;
    // The application log, for why a file the document needs (the header
    // template, an upgrade file) was refused; none when nobody keeps one.
    CLogFile* appLog = nullptr;
    // The "Customer" registry value; bit 0 is the QZ client variant.
    unsigned long customer = 0;

    // The program's own dialogs that the document opens. The UI layer fills
    // them in; left empty, the question counts as cancelled.
    // "Select Logo...": the 0-based position of the chosen line, -1 = Cancel.
    std::function<int(QObject* owner, const QStringList& lines)> selectLogo;
    // The QZ header form: true on OK with both numbers (0 to 99) filled in.
    std::function<bool(QObject* owner, unsigned* release, unsigned* version)> askQzHeader;

    QString HeaderTemplatePath() const { return programFolder + headerTemplateName; }
};
