#include "ecg/EcgSampleWindow.h"

#include "case/CaseRecord.h"

#include <algorithm>
#include <cstring>

namespace {

// Copies n samples from ecg[src] to out[dst], clipped to both buffers.
void copySamples(const QByteArray &ecg, int64_t src, uint8_t *out, int count, int64_t dst, int64_t n)
{
    if (src < 0) {
        dst -= src;
        n += src;
        src = 0;
    }
    if (dst < 0) {
        src -= dst;
        n += dst;
        dst = 0;
    }
    n = std::min({n, int64_t(count) - dst, int64_t(ecg.size()) - src});
    if (n > 0)
        std::memcpy(out + dst, ecg.constData() + src, size_t(n));
}

} // namespace

void fillSampleWindow(const QByteArray &ecg, int32_t ecgStartMs, int32_t ecgEndMs, int32_t lo, uint8_t *out,
                      int count)
{
    if (count <= 0)
        return;
    std::memset(out, 0, size_t(count));
    const int64_t s = ecgStartMs;
    const int64_t e = ecgEndMs;
    const int64_t l = lo;
    const int64_t hi = l + 4LL * count;

    if (s >= hi)
        return;
    if (l <= s) {
        const int64_t lead = (s - l) / 4;
        if (e <= hi) {
            const int64_t n = (e - l) / 4;
            if (n < 0 || lead < 0)
                return;
            copySamples(ecg, 0, out, count, lead, n - lead);
        } else {
            copySamples(ecg, 0, out, count, lead, count - lead);
        }
        return;
    }
    const int64_t skip = (l - s) / 4;
    if (e <= hi) {
        const int64_t n = (e - l) / 4;
        if (n < 0 || skip < 0)
            return;
        copySamples(ecg, skip, out, count, 0, n);
    } else {
        copySamples(ecg, skip, out, count, 0, count);
    }
}

void fillSampleWindow(const CaseRecord *c, int32_t lo, uint8_t *out, int count)
{
    if (!c) {
        if (count > 0)
            std::memset(out, 0, size_t(count));
        return;
    }
    fillSampleWindow(c->ecgSamples, c->ecgStartMs, c->ecgEndMs, lo, out, count);
}
