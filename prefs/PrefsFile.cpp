// Vidurara: a ring around the mouse pointer for presentations.
#include "PrefsFile.h"

#include "Module1.h"
#include "PrefsFormat.h"
#include "prefModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace prefModule {
namespace {

std::function<std::optional<WindowPosition>()> &positionSource() {
  static std::function<std::optional<WindowPosition>()> source;
  return source;
}

// On a fresh account the configuration folder may not exist yet; without it every save
// would be lost. Only that one folder is made, private to the user as the XDG rules ask;
// a missing parent is left alone and the save then fails quietly.
void ensureFolder(const QString &folder) {
  if (QFileInfo::exists(folder))
    return;
  QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

PrefValues currentValues() {
  PrefValues v;
  v.top = Window1Top;
  v.left = Window1Left;
  v.autoShutOff = AutoShutOff;
  v.color = Module1::CircleColor;
  v.size = CircleSize;
  v.lineWidth = CircleLineWidth;
  return v;
}

void setValues(const PrefValues &v) {
  Window1Top = v.top;
  Window1Left = v.left;
  AutoShutOff = v.autoShutOff;
  Module1::CircleColor = v.color;
  CircleSize = v.size;
  CircleLineWidth = v.lineWidth;
}

void setWindowPositionSource(std::function<std::optional<WindowPosition>()> source) {
  positionSource() = std::move(source);
}

std::optional<QString> prefsLocation() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (folder.isEmpty())
    return std::nullopt;
  // The XDG rules call a relative configuration folder invalid; taken as it is, the
  // settings would land in whatever folder the program was started from.
  if (QDir::isRelativePath(folder))
    folder = QDir::homePath() + QStringLiteral("/.config");
  return folder + QStringLiteral("/vidurara3.txt");
}

bool extractDirectives(const std::optional<QString> &location) {
  if (!location)
    return false;
  // Only a regular file: opening a named pipe would wait for a writer forever.
  if (!QFileInfo(*location).isFile())
    return false;
  QFile file(*location);
  if (!file.open(QIODevice::ReadOnly))
    return false;
  // Read in pieces and stop where the directives end, so that what follows them,
  // however large, is never read.
  DirectiveReader reader(gDirectives);
  char buffer[4096];
  for (;;) {
    const qint64 n = file.read(buffer, sizeof buffer);
    if (n <= 0)
      break;
    if (!reader.feed(std::string_view(buffer, std::size_t(n))))
      break;
  }
  reader.finish();
  return true;
}

void loadPrefs() {
  if (!extractDirectives(prefsLocation())) {
    setValues(defaultPrefValues());
    return;
  }
  // Settings whose line is missing keep what they hold.
  PrefValues values = currentValues();
  for (std::size_t i = 1; i < gDirectives.size(); ++i)
    applyDirective(gDirectives[i], values);
  setValues(values);
}

void savePrefs() {
  PrefValues values = currentValues();
  if (positionSource()) {
    if (const std::optional<WindowPosition> live = positionSource()()) {
      values.top = live->top;
      values.left = live->left;
    }
  }
  const std::optional<QString> location = prefsLocation();
  if (!location)
    return;
  ensureFolder(QFileInfo(*location).path());
  // The new file replaces the old one whole or not at all: a crash, a kill or a full
  // disk during the save leaves the previous settings in place, never a cut file.
  QSaveFile file(*location);
  if (!file.open(QIODevice::WriteOnly))
    return;
  const std::string bytes = formatPrefs(values);
  file.write(bytes.data(), qint64(bytes.size()));
  file.commit();
}

} // namespace prefModule
