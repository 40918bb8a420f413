// libFuzzer target: any bytes as a word file must give a count or a Failure, nothing else.
#include "core/wordfile.h"
#include "core/wordtable.h"
#include "platform/failure.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static WordTable table;
    // The first byte picks the start slot, so the 3000 bound is reached too.
    const qint16 start = size ? qint16((data[0] * 12) % 3100) : 0;
    const QByteArrayView bytes(data, qsizetype(size));
    try {
        const qint16 next = WordFiles::store(bytes, QString(), u"nounM", table, start);
        // Entries only ever advance the slot, and never past the last slot + 1.
        if (next < start || (next > start && next > WordTable::Size))
            std::abort();
    } catch (const Failure&) {
    }
    table.compact(); // bytes of earlier inputs go once they are most of the table
    return 0;
}
