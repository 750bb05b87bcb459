#include "tools/ZoneChoice.h"

#include "device/TimeZoneTable.h"

#include <QByteArray>
#include <ctime>

namespace {
constexpr char OffsetVariable[] = "RAVELIN_CLI_COMPUTER_ZONE_OFFSET";
} // namespace

void useUtcForTheProcess()
{
    if (!qEnvironmentVariableIsSet(OffsetVariable))
        qputenv(OffsetVariable, QByteArray::number(TimeZoneTable::localZoneOffset()));
    qputenv("TZ", "UTC");
    tzset();
}

int32_t computerZoneOffset()
{
    bool ok = false;
    const int offset = qEnvironmentVariableIntValue(OffsetVariable, &ok);
    return ok ? int32_t(offset) : TimeZoneTable::localZoneOffset();
}
