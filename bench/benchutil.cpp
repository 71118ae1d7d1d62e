#include "benchutil.h"

#include <QDir>
#include <QTemporaryDir>

namespace md::bench {

QString scratchFile(const QString& name)
{
    static QTemporaryDir dir;
    QFile::remove(dir.filePath(name));
    return dir.filePath(name);
}

}  // namespace md::bench
