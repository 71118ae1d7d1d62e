#pragma once
// The statements a cached dataset sends for its changes instead of generated
// ones. Each text may be a batch of several statements with ":name"
// parameters. A parameter inside a where clause takes the field's value as it
// was read (so an edited key still finds its row), elsewhere the current value;
// "old_<field>" always takes the value as read. Names match fields in any case.
// An empty text leaves that kind of change to the generated statement.
#include <QObject>
#include <QString>

class TRemoteUpdateSql : public QObject {
    Q_OBJECT
  public:
    explicit TRemoteUpdateSql(QObject* parent = nullptr) : QObject(parent) {}

    QString InsertSQL;
    QString ModifySQL;
    QString DeleteSQL;
};
