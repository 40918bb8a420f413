#include "modules/mdlcodepages.h"

#include "platform/codepage.h"

namespace mdlCodepages {

QByteArray ToOem(QByteArrayView ansiText)
{
    return CodePage::AnsiToOem(ansiText);
}

} // namespace mdlCodepages
