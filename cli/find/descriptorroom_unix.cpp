#include "descriptorroom.h"

#include <QDir>

#include <algorithm>

#include <sys/resource.h>

namespace {

// Kept for what the program opens besides the connections (Qt's own wake-up descriptors, a
// file for --output).
constexpr rlim_t keptForTheProgram = 16;
// Standard input, output and error, where the system cannot list what is open.
constexpr rlim_t standardStreams = 3;

rlim_t openNow()
{
    const QDir listed(QStringLiteral("/proc/self/fd"));
    if (!listed.exists())
        return standardStreams;
    // The listing itself holds one while it reads.
    const auto entries = listed.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    return rlim_t(std::max<qsizetype>(0, entries.size() - 1));
}

} // namespace

DescriptorRoom makeDescriptorRoom(int wanted)
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return DescriptorRoom{wanted, -1};
    const rlim_t used = openNow() + keptForTheProgram;
    const rlim_t needed = used + rlim_t(std::max(0, wanted));
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < needed) {
        rlimit raised = limit;
        raised.rlim_cur =
            limit.rlim_max == RLIM_INFINITY ? needed : std::min(needed, limit.rlim_max);
        if (setrlimit(RLIMIT_NOFILE, &raised) == 0)
            limit = raised;
    }
    if (limit.rlim_cur == RLIM_INFINITY)
        return DescriptorRoom{wanted, -1};
    const rlim_t room = limit.rlim_cur > used ? limit.rlim_cur - used : 0;
    return DescriptorRoom{int(std::min(room, rlim_t(std::max(0, wanted)))), qint64(limit.rlim_cur)};
}
