#pragma once
// The master-data module as the host sees it: libmasterdata.so beside the
// program, loaded with QLibrary, its two exports resolved by name.
#include <QList>
#include <QString>

#include "createdllform.h"
#include "formregistry.h"

namespace md::host {

class ModuleLibrary {
  public:
    // Loads the module from the program's folder. False with errorString() set
    // when it is missing or lacks an export.
    bool load();
    QString errorString() const { return m_error; }

    CreateDLLFormFunction createForm() const { return m_create; }
    // The module's functions in table order.
    QList<const md::entry::FormEntry*> functions() const;
    const md::entry::FormEntry* function(const QString& name) const;

  private:
    CreateDLLFormFunction m_create = nullptr;
    const md::entry::FormEntry* m_rows = nullptr;
    int m_count = 0;
    QString m_error;
};

}  // namespace md::host
