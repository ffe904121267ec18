#pragma once
// What a logo document needs from the program around it. The application
// fills one in for every document it makes; the command-line tool and the
// tests fill in their own. The document reaches nothing else of the program.
#include <QObject>
#include <QPointer>
#include <QString>

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
    // The program's log, for why a file the document needs was refused; none
    // when nobody keeps one.
    CLogFile* log = nullptr;

    QString HeaderTemplatePath() const { return programFolder + headerTemplateName; }
};
