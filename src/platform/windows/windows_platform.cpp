#include "platform/windows/windows_platform.h"

#include "platform/windows/case_folding.h"
#include "platform/windows/clock.h"
#include "platform/windows/date_time_formatter.h"
#include "platform/windows/login_name.h"
#include "platform/windows/number_parser.h"
#include "platform/windows/policy_store.h"
#include "platform/windows/settings_store.h"
#include "platform/windows/time_zone_source.h"
#include "platform/windows/version_source.h"

namespace quillmark::windows {

const Platform& WindowsPlatform() {
    // The implementations hold no state of their own, so one set serves every thread.
    static RegistrySettingsStore settings;
    static RegistryPolicyStore policies;
    static SystemClock clock;
    static VariantDateTimeFormatter formatter;
    static WindowsLoginName loginName;
    static WindowsTimeZoneSource timeZone;
    static LocaleCaseFolding caseFolding;
    static VariantNumberParser numbers;
    static WindowsVersionSource version;
    static const Platform platform{
        .settings = settings,
        .policies = policies,
        .clock = clock,
        .dateTimeFormatter = formatter,
        .loginName = loginName,
        .timeZone = timeZone,
        .caseFolding = caseFolding,
        .numbers = numbers,
        .version = version,
    };
    return platform;
}

}  // namespace quillmark::windows
