#include "app/wizard/workbook_name.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace vs {

QString PastedPath(const QString& text) {
  QString path = text.trimmed();
  if (path.startsWith("file://")) {
    const QUrl url(path);
    if (url.isValid() && url.isLocalFile()) path = url.toLocalFile();
  }
  if (path == "~" || path.startsWith("~/")) path = QDir::homePath() + path.mid(1);
  return path;
}

QString WorkbookFormat(const QString& name) {
  for (const char* format : {"xlsx", "csv"})
    if (name.endsWith(QString(".") + format, Qt::CaseSensitive)) return format;
  return "xls";
}

QString WithWorkbookExtension(const QString& name, const QString& format) {
  const QString extension = "." + (format.isEmpty() ? WorkbookFormat(name) : format);
  return name.endsWith(extension, Qt::CaseSensitive) ? name : name + extension;
}

QString WorkbookNameProblem(const QString& name) {
  if (name.endsWith('/') || QFileInfo(name).isDir())
    return "\"" + name + "\" is a folder: give the workbook a file name in it.";
  return {};
}

}  // namespace vs
