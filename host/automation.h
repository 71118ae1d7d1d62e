#pragma once
// Running the program unattended, for tests and documentation:
//   masterdata --db FILE --user U --password P [--open frm_x] [--screenshot out.png] [--quit]
// The password may come instead from standard input (--password-stdin, one
// line) or from the environment (MASTERDATA_PASSWORD), so that it does not
// show in the process list.
#include <QString>
#include <QStringList>

class QIODevice;
class QWidget;

namespace md::host {

class THostMainForm;

struct HostOptions {
    QString database;  // --db: an SQLite file instead of the saved connection
    QString user;      // --user
    QString password;  // --password; with --user, logs in without the dialog
    bool hasPassword = false;
    bool passwordFromInput = false;  // --password-stdin
    QString open;                    // --open: a function to open after login
    QString screenshot;              // --screenshot: a PNG of the main window with its windows
    bool quit = false;               // --quit: end after the above
};

HostOptions parseHostOptions(const QStringList& arguments);

// The password when none was given on the command line: the first line of
// `input` with --password-stdin, else MASTERDATA_PASSWORD. The variable is
// removed from the environment either way, so no program started later
// inherits it.
void takePassword(HostOptions& options, QIODevice& input);

// True when the options ask for an unattended run (--open, --screenshot, --quit).
bool isUnattended(const HostOptions& options);

// Saves the main window with its child windows; a modal window open at that
// moment is drawn over it, centred. False when the file cannot be written.
bool saveScreenshot(QWidget& mainWindow, QWidget* modal, const QString& file);

// Opens options.open and takes options.screenshot; a modal function is
// pictured from inside its run and then closed (with --quit, also without a
// picture). False when the picture failed.
bool runAutomation(THostMainForm& mainWindow, const HostOptions& options);

}  // namespace md::host
