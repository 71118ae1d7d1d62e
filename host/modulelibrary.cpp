#include "modulelibrary.h"

#include <QFileInfo>
#include <QLibrary>

#include "routines.h"

namespace md::host {

bool ModuleLibrary::load() {
    // The full file name: a bare "masterdata" would find the program itself.
    // Never unloaded: windows of the module live until the program ends.
    // Beside the program in a build folder, in <prefix>/lib/masterdata when installed.
    QLibrary* library = nullptr;
    for (const QString& folder : md::CurrentProgramPaths().moduleFolders) {
        const QString file = folder + QStringLiteral("libmasterdata.so");
        if (!QFileInfo::exists(file)) continue;
        library = new QLibrary(file);
        if (library->load()) break;
        m_error = library->errorString();
        delete library;
        return false;
    }
    if (!library) {
        m_error = QStringLiteral("找不到基础资料模块 libmasterdata.so（%1）")
                      .arg(md::CurrentProgramPaths().moduleFolders.join(QStringLiteral("，")));
        return false;
    }
    m_create = reinterpret_cast<CreateDLLFormFunction>(library->resolve("CreateDLLForm"));
    using ListFunction = int (*)(const md::entry::FormEntry**);
    const auto list = reinterpret_cast<ListFunction>(library->resolve("CreateDLLFormList"));
    if (!m_create || !list) {
        m_error = QStringLiteral("模块 %1 缺少入口函数").arg(library->fileName());
        return false;
    }
    m_count = list(&m_rows);
    return true;
}

QList<const md::entry::FormEntry*> ModuleLibrary::functions() const {
    QList<const md::entry::FormEntry*> rows;
    for (int i = 0; i < m_count; ++i) rows << &m_rows[i];
    return rows;
}

const md::entry::FormEntry* ModuleLibrary::function(const QString& name) const {
    for (int i = 0; i < m_count; ++i)
        if (name.compare(QString::fromUtf8(m_rows[i].name), Qt::CaseInsensitive) == 0)
            return &m_rows[i];
    return nullptr;
}

}  // namespace md::host
