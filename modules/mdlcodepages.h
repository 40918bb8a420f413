#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The code-page conversion of the DOS program: its text is shown by DOS, which reads code page
// 866, while the saved text is Windows-1251.
namespace mdlCodepages {

// Every byte mapped from Windows-1251 to code page 866; the length stays the same, and a
// character code page 866 lacks becomes "?".
QByteArray ToOem(QByteArrayView ansiText);

} // namespace mdlCodepages
