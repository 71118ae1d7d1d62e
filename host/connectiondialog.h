#pragma once
// Where the data lives. The embedded SQLite file is offered now; the
// PostgreSQL and SQL Server fields are in place but disabled until those
// backends are available.
#include "remoteudpconnection.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace md::host {

class TConnectionDialog : public QDialog {
    Q_OBJECT
public:
    explicit TConnectionDialog(const ConnectionSettings& current, QWidget* parent = nullptr);
    ConnectionSettings settings() const;

private:
    QComboBox* m_kind;
    QLineEdit* m_file;
};

}  // namespace md::host
