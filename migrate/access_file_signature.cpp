#include "migrate/access_file_signature.h"

#include <QFile>

namespace vortan::migrate {

bool IsAccessFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(19);
    if (head.size() < 19 || !head.startsWith(QByteArrayView("\x00\x01\x00\x00", 4)))
        return false;
    const QByteArray format = head.mid(4);
    return format == "Standard Jet DB" || format == "Standard ACE DB";
}

} // namespace vortan::migrate
