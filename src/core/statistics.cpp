#include "core/statistics.h"

#include "core/app_state.h"
#include "core/format.h"

namespace volmara {

std::int32_t wholeSecondsOf(const std::string& text, const Locale& locale)
{
    // The interval text is free text: anything outside the counter's range is pinned to it.
    const double value = parseNumber(text, locale).value_or(0);
    if (!(value > 0))
        return 0;
    if (value >= 2147483647.0)
        return 2147483647;
    return static_cast<std::int32_t>(roundHalfEven(value));
}

std::string prcSpaceRateChange(AppState& app, std::int64_t /*lngSecPast: the rate base is used instead*/)
{
    const auto& list = app.ListView1;
    if (list.empty())
        return "N/A";
    double oldTotal = 0;
    double newTotal = 0;
    for (auto i = list.size(); i-- > 0;) {
        const auto& entry = list.at(i);
        if (!entry.watched || entry.prevFree.empty())
            continue;
        const auto previous = cellNumber(entry.prevFree, app.sv.locale);
        const auto current = cellNumber(entry.freeText, app.sv.locale);
        if (!previous || !current)
            continue;
        oldTotal += *previous;
        newTotal += *current;
    }
    const double change = newTotal - oldTotal;
    if (app.rateBase < 1)
        app.rateBase = wholeSecondsOf(app.settings.txtTime, app.sv.locale);
    if (change == 0 || app.rateBase < 1)
        return "0";
    // Two decimals first, then a whole number, as the label has always shown it.
    const double twoDecimals = static_cast<double>(roundHalfEven(change / app.rateBase * 100)) / 100;
    return std::to_string(roundHalfEven(twoDecimals));
}

void prcUpdateStatistics(AppState& app)
{
    auto& f = app.form1;
    f.lblHighRatedAlerts = std::to_string(app.log.g_lngHighAlerts());
    f.lblAlertsRaised = std::to_string(app.log.g_lngAlerts());
    std::int64_t watched = 0;
    for (const auto& entry : app.ListView1.rows())
        watched += entry.watched ? 1 : 0;
    f.lblDriveOnMonitor = std::to_string(watched);
    f.lblSpaceChangeRate = prcSpaceRateChange(app, wholeSecondsOf(app.settings.txtTime, app.sv.locale));
    f.lblTimesMonitor = std::to_string(app.checksDone);
    f.notify();
}

} // namespace volmara
