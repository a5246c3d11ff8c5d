// ponderix_help_lookup FOLDER: where a program living in FOLDER finds its
// help document.
#include "base/TextTable.h"
#include "platform/Folders.h"

#include <QDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: ponderix_help_lookup PROGRAM_FOLDER\n", stderr);
        return 2;
    }
    ponderix::ApplicationFolders folders;
    folders.programFolder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + u'/';
    const QByteArray path = ponderix::helpDocumentPath(folders).toLocal8Bit();
    std::printf("%s\n", path.constData());
    return 0;
}
