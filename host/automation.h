#pragma once
// Running the program unattended, for tests and documentation:
//   masterdata --db FILE --user U --password P [--open frm_x] [--screenshot out.png] [--quit]
#include <QString>
#include <QStringList>

class QWidget;

namespace md::host {

class THostMainForm;

struct HostOptions {
    QString database;  // --db: an SQLite file instead of the saved connection
    QString user;      // --user
    QString password;  // --password; with --user, logs in without the dialog
    bool hasPassword = false;
    QString open;        // --open: a function to open after login
    QString screenshot;  // --screenshot: a PNG of the main window with its windows
    bool quit = false;   // --quit: end after the above
};

HostOptions parseHostOptions(const QStringList& arguments);

// Saves the main window with its child windows; a modal window open at that
// moment is drawn over it, centred. False when the file cannot be written.
bool saveScreenshot(QWidget& mainWindow, QWidget* modal, const QString& file);

// Opens options.open and takes options.screenshot; a modal function is
// pictured from inside its run and then closed. False when the picture failed.
bool runAutomation(THostMainForm& mainWindow, const HostOptions& options);

}  // namespace md::host
