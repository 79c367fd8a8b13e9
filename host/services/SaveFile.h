#pragma once
// Saving a file whole or not at all, through the steps in services().saveSteps: the bytes go to a
// new file beside it, which is flushed to the disk and renamed over it.

#include <QByteArray>
#include <QString>

namespace host {

struct SaveSteps;

// Saves `bytes` as the file `path` (through a symbolic link, to the file it points to). Returns
// an empty text on success, else the reason ("No space left on device"); on failure the file is
// left as it was and nothing else stays behind.
QString saveFile(const QString& path, const QByteArray& bytes);

// The steps as the operating system does them: the default of services().saveSteps.
SaveSteps systemSaveSteps();

} // namespace host
