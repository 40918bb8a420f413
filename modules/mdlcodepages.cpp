#include "modules/mdlcodepages.h"

#include "platform/codepage.h"

namespace mdlCodepages {

QByteArray ToOem(QByteArrayView ansiText)
{
    const auto& table = CodePage::ansiToOemTable();
    QByteArray out(ansiText.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < ansiText.size(); ++i)
        out[i] = char(table[static_cast<unsigned char>(ansiText[i])]);
    return out;
}

} // namespace mdlCodepages
