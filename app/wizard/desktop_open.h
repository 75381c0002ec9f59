#pragma once
// Opening a local file or folder with whatever the desktop uses for it.
#include <QString>

namespace vs {

// False when no program could be started to open it (no desktop, no
// launcher), so the caller can show the path instead.
bool OpenWithDesktop(const QString& path);

}  // namespace vs
