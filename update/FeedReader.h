// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QString>

// Reading the update feed and judging its version. Knows no window, so that the rules
// can be checked on plain values.
namespace FeedReader {

// "<" + name + ">" and "</" + name + ">".
QString startTag(const QString &name);
QString endTag(const QString &name);

// The text of the first element of that name: what lies between its start tag and the
// first end tag after it, verbatim (no trimming, no entity decoding, inner markup kept).
// Tags match in any letter case; a start tag with attributes is not recognised. A
// missing start tag or end tag reads as empty.
QString returnValue(const QString &body, const QString &name);

// The leading numeric part of one version field; an empty or non-numeric field is 0.
// Values too large for the type saturate, so that they never compare equal to a real
// version number by wrapping around.
qint64 fieldValue(const QString &field);

// True when the first three dot-separated fields of `version` equal the running major,
// minor and bug numbers. Missing fields read as 0; fields after the third are ignored.
// Only equality counts: a lower feed version is "new" too.
bool isCurrentVersion(const QString &version, int major, int minor, int bug);

// True when the Free element says "Yes" in any letter case, with nothing around it.
bool isFreeUpgrade(const QString &freeValue);

// The description as the offer dialog can show it. Text a dialog can hold comes back
// unchanged; a feed cannot make the dialog larger than the screen: runs of more than
// MaxRunChars characters without a blank are broken with a line break, and text beyond
// MaxLines lines or MaxChars characters is cut and ends in "...".
constexpr int MaxLines = 20;
constexpr int MaxChars = 1000;
constexpr int MaxRunChars = 80;
QString clipForDialog(const QString &text);

} // namespace FeedReader
