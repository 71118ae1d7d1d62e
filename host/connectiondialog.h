#pragma once
// Where the data lives: the embedded SQLite file, a PostgreSQL server, or a
// SQL Server data source through ODBC. Passwords are never written to the
// settings file (see hostdatabase.h).
#include <QDialog>

#include "remoteudpconnection.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace md::host {

class TConnectionDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TConnectionDialog(const ConnectionSettings& current, QWidget* parent = nullptr);
    ConnectionSettings settings() const;

  private:
    QComboBox* m_kind;
    QLineEdit* m_file;
    QLineEdit* m_pgHost;
    QSpinBox* m_pgPort;
    QLineEdit* m_pgDatabase;
    QLineEdit* m_pgUser;
    QLineEdit* m_pgPassword;
    QLineEdit* m_dsn;
    QLineEdit* m_odbcUser;
    QLineEdit* m_odbcPassword;
    QCheckBox* m_serverProcedures;
};

}  // namespace md::host
