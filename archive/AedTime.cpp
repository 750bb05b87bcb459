#include "archive/AedTime.h"

#include "base/BinaryReader.h"
#include "base/BinaryWriter.h"

namespace AedTime {

void write(BinaryWriter &out, CTime time)
{
    out.u32(Marker);
    out.i64(time.GetTime());
}

CTime read(BinaryReader &in)
{
    const uint32_t first = in.u32();
    if (first != Marker)
        return CTime(int32_t(first));
    return CTime(in.i64());
}

} // namespace AedTime
