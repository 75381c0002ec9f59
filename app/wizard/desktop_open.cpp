#include "app/wizard/desktop_open.h"

#include <QDesktopServices>
#include <QUrl>

namespace vs {

bool OpenWithDesktop(const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

}  // namespace vs
