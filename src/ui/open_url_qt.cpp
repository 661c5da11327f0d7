// Linux: xdg-open, the desktop's URL opener, started on its own and not waited for.
#include <QProcess>

#include "ui/open_url.h"
#include "ui/qt_string.h"

void openUrl(const Text& url) {
  // The URL is one argument of its own: no shell ever reads it.
  QProcess::startDetached(QStringLiteral("xdg-open"), {qtString(url)});
}
