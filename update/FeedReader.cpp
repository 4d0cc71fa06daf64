// Vidurara: a ring around the mouse pointer for presentations.
#include "FeedReader.h"

#include <QStringList>

#include <limits>

namespace FeedReader {

QString startTag(const QString &name) { return QLatin1Char('<') + name + QLatin1Char('>'); }

QString endTag(const QString &name) { return QStringLiteral("</") + name + QLatin1Char('>'); }

QString returnValue(const QString &body, const QString &name) {
  const QString start = startTag(name);
  const qsizetype p = body.indexOf(start, 0, Qt::CaseInsensitive);
  if (p < 0)
    return QString();
  const qsizetype s = p + start.size();
  const qsizetype e = body.indexOf(endTag(name), s, Qt::CaseInsensitive);
  if (e < 0)
    return QString();
  return body.mid(s, e - s);
}

qint64 fieldValue(const QString &field) {
  constexpr qint64 limit = std::numeric_limits<qint64>::max() / 10 - 10;
  qsizetype i = 0;
  while (i < field.size() && (field[i] == QLatin1Char(' ') || field[i] == QLatin1Char('\t')))
    ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == QLatin1Char('-') || field[i] == QLatin1Char('+'))) {
    negative = field[i] == QLatin1Char('-');
    ++i;
  }
  qint64 value = 0;
  for (; i < field.size(); ++i) {
    const QChar c = field[i];
    if (c < QLatin1Char('0') || c > QLatin1Char('9'))
      break;
    if (value < limit)
      value = value * 10 + (c.unicode() - '0');
  }
  return negative ? -value : value;
}

bool isCurrentVersion(const QString &version, int major, int minor, int bug) {
  const QStringList fields = version.split(QLatin1Char('.'));
  const auto field = [&fields](int n) { return n < fields.size() ? fields[n] : QString(); };
  return fieldValue(field(0)) == major && fieldValue(field(1)) == minor &&
         fieldValue(field(2)) == bug;
}

bool isFreeUpgrade(const QString &freeValue) {
  return freeValue.compare(QLatin1String("Yes"), Qt::CaseInsensitive) == 0;
}

QString clipForDialog(const QString &text) {
  QString shown;
  int lines = 1;
  int run = 0;
  bool cut = false;
  for (const QChar c : text) {
    // The second half of a character outside the BMP stays with its first half.
    if (c.isLowSurrogate()) {
      if (!shown.isEmpty() && shown.back().isHighSurrogate())
        shown += c;
      continue;
    }
    if (shown.size() >= MaxChars) {
      cut = true;
      break;
    }
    if (c == QLatin1Char('\n')) {
      if (++lines > MaxLines) {
        cut = true;
        break;
      }
      run = 0;
    } else if (c.isSpace()) {
      run = 0;
    } else if (++run > MaxRunChars) {
      if (++lines > MaxLines) {
        cut = true;
        break;
      }
      shown += QLatin1Char('\n');
      run = 1;
    }
    shown += c;
  }
  if (cut)
    shown += QStringLiteral("...");
  return shown;
}

} // namespace FeedReader
