#include "core/settings_file.h"

#include "core/app_state.h"
#include "core/error.h"
#include "core/format.h"
#include "core/path_rules.h"

#include <algorithm>
#include <array>
#include <optional>
#include <variant>

namespace volmara {

namespace {

using FieldRef = std::variant<CheckValue*, std::string*, DateTime*>;

// One scalar key of set.dat: the control it stores and the value that control holds before the
// file is read. Both directions and the record's initial values come from this table.
struct ScalarKey {
    std::string_view key;
    FieldRef (*field)(Settings&);
    std::string_view beforeLoading;
};

#define VOLMARA_FIELD(member) [](Settings& s) -> FieldRef { return &s.member; }

const std::array kScalarKeys{
    ScalarKey{"chkUpdate=", VOLMARA_FIELD(chkUpdate), "0"},
    ScalarKey{"chkStartUp=", VOLMARA_FIELD(chkStartUp), "0"},
    ScalarKey{"chkOnTopMonitor=", VOLMARA_FIELD(chkOnTopMonitor), "0"},
    ScalarKey{"chkNTLog=", VOLMARA_FIELD(chkNTLog), "0"},
    ScalarKey{"chkLog=", VOLMARA_FIELD(chkLog), "1"},
    ScalarKey{"chkAutoSave=", VOLMARA_FIELD(chkAutoSave), "0"},
    ScalarKey{"txtAudio0=", VOLMARA_FIELD(txtAudio[0]), ""},
    ScalarKey{"txtAudio1=", VOLMARA_FIELD(txtAudio[1]), ""},
    ScalarKey{"txtTime=", VOLMARA_FIELD(txtTime), "0"},
    ScalarKey{"minspace=", VOLMARA_FIELD(txtSpace), "50000"},
    ScalarKey{"notEmail=", VOLMARA_FIELD(txtYourEmail), ""},
    ScalarKey{"notEmailUser=", VOLMARA_FIELD(txtUser), ""},
    ScalarKey{"notEmailPass=", VOLMARA_FIELD(txtPass), ""},
    ScalarKey{"notMailServer=", VOLMARA_FIELD(txtMailServer), ""},
    ScalarKey{"notEmailSubj=", VOLMARA_FIELD(txtMailSubj), "Zembrik Volmara: system info"},
    ScalarKey{"notMailFromDisp=", VOLMARA_FIELD(txtMailFromDisplayName), "Volmara"},
    ScalarKey{"notCustMsg=", VOLMARA_FIELD(txtCustMsg), ""},
    ScalarKey{"notCustCont=", VOLMARA_FIELD(txtCustomContent), ""},
    ScalarKey{"notCustEvtAmt=", VOLMARA_FIELD(txtCustEvtAmt), "4"},
    ScalarKey{"notDTPicker1=", VOLMARA_FIELD(DTPicker1), "00:00:00"},
    ScalarKey{"notDTPicker2=", VOLMARA_FIELD(DTPicker2), "00:00:00"},
    ScalarKey{"nottxtProxy=", VOLMARA_FIELD(txtProxy), ""},
    ScalarKey{"nottxtPort=", VOLMARA_FIELD(txtPort), ""},
    ScalarKey{"notchkHTML=", VOLMARA_FIELD(chkIsHTML), "0"},
    ScalarKey{"notchkProxy=", VOLMARA_FIELD(chkProxy), "0"},
    ScalarKey{"insystray=", VOLMARA_FIELD(chkSystray), "1"},
    // The start-up check puts the default root here before the file is read.
    ScalarKey{"path2move=", VOLMARA_FIELD(txtDrive), ""},
    ScalarKey{"filetype=", VOLMARA_FIELD(txtFileType), ""},
    ScalarKey{"custtime=", VOLMARA_FIELD(chkCustTime), "0"},
    ScalarKey{"custtimebegin=", VOLMARA_FIELD(DTTime1[0]), "00:00:00"},
    ScalarKey{"custtimeend=", VOLMARA_FIELD(DTTime1[1]), "00:00:00"},
    ScalarKey{"custtimeDTPI=", VOLMARA_FIELD(DTPInterval), "00:00:00"},
    ScalarKey{"updateauto=", VOLMARA_FIELD(chkUpdate), "0"},
};

#undef VOLMARA_FIELD

const ScalarKey& scalar(std::string_view key)
{
    const auto it = std::find_if(kScalarKeys.begin(), kScalarKeys.end(), [&](const ScalarKey& k) { return k.key == key; });
    if (it == kScalarKeys.end())
        throw Error(ErrorKind::InvalidArgument, "unknown settings key");
    return *it;
}

int toInteger(std::string_view value)
{
    const auto number = parseNumber(value);
    if (!number)
        throw Error(ErrorKind::Other, "Type mismatch");
    if (*number < -2147483648.0 || *number > 2147483647.0)
        throw Error(ErrorKind::Other, "Overflow");
    return static_cast<int>(roundHalfEven(*number));
}

void assign(const FieldRef& field, std::string_view value)
{
    std::visit(
        [&](auto* target) {
            using T = std::remove_pointer_t<decltype(target)>;
            if constexpr (std::is_same_v<T, CheckValue>) {
                *target = toInteger(value);
            } else if constexpr (std::is_same_v<T, std::string>) {
                *target = std::string(value);
            } else {
                const auto date = parseDateText(value);
                if (!date)
                    throw Error(ErrorKind::Other, "Type mismatch");
                *target = *date;
            }
        },
        field);
}

std::string render(const FieldRef& field)
{
    return std::visit(
        [](auto* source) -> std::string {
            using T = std::remove_pointer_t<decltype(source)>;
            if constexpr (std::is_same_v<T, CheckValue>)
                return std::to_string(*source);
            else if constexpr (std::is_same_v<T, std::string>)
                return *source;
            else
                return defaultDateText(*source);
        },
        field);
}

// --- writing -----------------------------------------------------------------------------------

class Writer {
public:
    explicit Writer(Settings settings) : settings_(std::move(settings)) {}

    void key(std::string_view name) { line(std::string(name) + render(scalar(name).field(settings_))); }
    void keyThenBlank(std::string_view name)
    {
        key(name);
        blank();
    }
    void line(std::string_view text)
    {
        out_ += text;
        out_ += kCrLf;
    }
    void blank() { out_ += kCrLf; }
    void raw(std::string_view text) { out_ += text; }
    std::string take() { return std::move(out_); }
    const Settings& settings() const { return settings_; }

private:
    Settings settings_;
    std::string out_;
};

// The list blocks visit members from the last to the first: a combo box gives every member's
// text, a tick list the index of every ticked member.
std::string comboBlock(std::string_view tag, const std::vector<std::string>& members)
{
    std::string out;
    for (auto it = members.rbegin(); it != members.rend(); ++it)
        out += std::string(tag) + "=" + *it + std::string(kCrLf);
    return out;
}

template <std::size_t N>
std::string tickBlock(std::string_view tag, const std::array<bool, N>& ticks)
{
    std::string out;
    for (auto i = N; i-- > 0;) {
        if (ticks[i])
            out += std::string(tag) + "=" + std::to_string(i) + std::string(kCrLf);
    }
    return out;
}

// --- reading -----------------------------------------------------------------------------------

void eraseAll(std::string& text, std::string_view key)
{
    for (auto at = text.find(key); at != std::string::npos; at = text.find(key, at))
        text.erase(at, key.size());
}

std::string without(std::string_view item, std::string_view key)
{
    std::string value(item);
    eraseAll(value, key);
    return value;
}

template <std::size_t N>
void tickIndex(std::array<bool, N>& ticks, std::string_view value)
{
    const int index = toInteger(value);
    if (index < 0 || index >= static_cast<int>(N))
        throw Error(ErrorKind::IndexOutOfRange, "Index out of bounds");
    ticks[static_cast<std::size_t>(index)] = true;
}

void onCustTimeChanged(AppState& app) { app.form1.customPickersEnabled = app.settings.chkCustTime == 1; }

// Applies one item; returns true when a key took it.
void applyItem(AppState& app, std::string_view item)
{
    auto& s = app.settings;
    auto has = [&](std::string_view key) { return item.find(key) != std::string_view::npos; };
    auto setScalar = [&](std::string_view key) { assign(scalar(key).field(s), without(item, key)); };

    // Keys in the order they are tested; the first one found decides, except "path=".
    if (has("custtime=")) {
        setScalar("custtime=");
        onCustTimeChanged(app);
        return;
    }
    for (std::string_view key : {"filetype=", "path2move=", "minspace=", "updateauto="}) {
        if (has(key))
            return setScalar(key);
    }
    if (has("txtTime=")) {
        setScalar("txtTime=");
        setIntervalPickerFromSeconds(app, s.txtTime);
        return;
    }
    if (has("cboFile=")) {
        if (auto value = without(item, "cboFile="); !value.empty())
            app.cboFile.push_back(std::move(value));
        return;
    }
    if (has("lstAct=")) {
        const int index = toInteger(without(item, "lstAct="));
        if (index < 0 || index >= static_cast<int>(app.lstAct.size()))
            throw Error(ErrorKind::IndexOutOfRange, "Index out of bounds");
        for (auto& message : setResponseTicked(app.lstAct, index, true, app.ListView1))
            app.inform(std::move(message));
        return;
    }
    if (has("lstEvt="))
        return tickIndex(app.lstEvt, without(item, "lstEvt="));
    for (std::string_view key : {"custtimebegin=", "custtimeend="}) {
        if (has(key))
            return setScalar(key);
    }
    if (has("path=")) {
        const auto path = trim(without(item, "path="));
        for (auto& entry : app.ListView1.rows()) {
            if (app.sv.paths.samePath(entry.path, path))
                entry.watched = true;
        }
        // A path line is still tested against the keys that follow.
    }
    // Older forms, read and never written.
    if (has("cboNotEmail=")) {
        s.cboNotEmail.push_back(toLower(trim(without(item, "cboNotEmail="))));
        return;
    }
    if (has("lstNotContent="))
        return tickIndex(s.lstNotContent, without(item, "lstNotContent="));
    if (has("lstNotTime="))
        return tickIndex(s.lstNotTime, without(item, "lstNotTime="));
    if (has("lstNotProxy=")) {
        s.txtProxy = without(item, "lstNotProxy=");
        s.chkProxy = 1;
        return;
    }
    if (has("lstNotPort=")) {
        s.txtPort = without(item, "lstNotPort=");
        return;
    }
    for (std::string_view key : {"notEmail=", "notEmailUser=", "notEmailPass=", "notMailServer=", "notEmailSubj=",
                                 "notMailFromDisp=", "notchkProxy=", "notchkHTML=", "nottxtPort=", "nottxtProxy=",
                                 "notDTPicker2=", "notDTPicker1=", "notCustEvtAmt=", "notCustCont=", "notCustMsg="}) {
        if (has(key))
            return setScalar(key);
    }
    if (has("notcboEmail=")) {
        s.cboNotEmail.push_back(without(item, "notcboEmail="));
        return;
    }
    if (has("NotlstContent"))
        return tickIndex(s.lstNotContent, without(item, "NotlstContent="));
    if (has("notlstTime"))
        return tickIndex(s.lstNotTime, without(item, "notlstTime="));
    if (has("txtAudio0")) {
        s.txtAudio[0] = without(item, "txtAudio0=");
        return;
    }
    if (has("txtAudio1")) {
        s.txtAudio[1] = without(item, "txtAudio1=");
        return;
    }
    for (std::string_view key : {"chkNTLog=", "chkLog=", "chkAutoSave=", "chkUpdate=", "chkStartUp=",
                                 "chkOnTopMonitor=", "insystray="}) {
        if (has(key))
            return setScalar(key);
    }
}

void intervalFixUp(AppState& app)
{
    const auto value = parseNumber(app.settings.txtTime).value_or(0);
    if (value <= 0)
        app.settings.txtTime = "5";
}

} // namespace

Settings::Settings()
{
    for (const auto& k : kScalarKeys)
        assign(k.field(*this), k.beforeLoading);
}

std::string settingsText(const AppState& app)
{
    Writer w(app.settings);
    const auto& s = w.settings();
    for (auto key : {"chkUpdate=", "chkStartUp=", "chkOnTopMonitor=", "chkNTLog=", "chkLog=", "chkAutoSave=",
                     "txtAudio0=", "txtAudio1="})
        w.key(key);
    w.keyThenBlank("txtTime=");
    w.keyThenBlank("minspace=");
    for (auto key : {"notEmail=", "notEmailUser=", "notEmailPass=", "notMailServer=", "notEmailSubj=", "notMailFromDisp="})
        w.key(key);
    w.raw(comboBlock("notcboEmail", s.cboNotEmail));
    w.blank();
    w.raw(tickBlock("NotlstContent", s.lstNotContent));
    w.blank();
    w.raw(tickBlock("notlstTime", s.lstNotTime));
    w.blank();
    for (auto key : {"notCustMsg=", "notCustCont=", "notCustEvtAmt=", "notDTPicker1=", "notDTPicker2=", "nottxtProxy=",
                     "nottxtPort=", "notchkHTML=", "notchkProxy=", "insystray="})
        w.key(key);
    for (auto key : {"path2move=", "filetype=", "custtime="})
        w.keyThenBlank(key);
    if (s.chkCustTime == 1) {
        w.keyThenBlank("custtimebegin=");
        w.keyThenBlank("custtimeend=");
    }
    w.key("custtimeDTPI=");
    w.keyThenBlank("updateauto=");
    for (const auto& entry : app.ListView1.rows()) {
        if (entry.watched) {
            w.line("path=" + entry.path);
            w.blank();
        }
    }
    for (const auto& file : app.cboFile) {
        w.line("cboFile=" + file);
        w.blank();
    }
    for (std::size_t i = 0; i < app.lstAct.size(); ++i) {
        if (app.lstAct[i]) {
            w.line("lstAct=" + std::to_string(i));
            w.blank();
        }
    }
    for (std::size_t i = 0; i < app.lstEvt.size(); ++i) {
        if (app.lstEvt[i]) {
            w.line("lstEvt=" + std::to_string(i));
            w.blank();
        }
    }
    return w.take();
}

std::vector<std::string> readSettingItems(std::string_view text)
{
    std::vector<std::string> items;
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        auto line = text.substr(pos, end - pos);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        pos = end + 1;

        const auto first = line.find_first_not_of(" \t");
        line = first == std::string_view::npos ? std::string_view{} : line.substr(first);
        if (line.starts_with('"')) {
            const auto close = line.find('"', 1);
            line = line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
        }
        items.emplace_back(line);
    }
    return items;
}

SettingsLoadResult applySettingsText(AppState& app, std::string_view text)
{
    SettingsLoadResult result;
    for (const auto& item : readSettingItems(text)) {
        if (item.empty())
            continue;
        // A value that cannot be converted skips its line only; stopping here would lose every
        // later setting at the next save.
        try {
            applyItem(app, item);
        } catch (const Error& e) {
            result.problems.push_back(item + " (" + e.description() + ")");
        }
    }
    return result;
}

void setIntervalPickerFromSeconds(AppState& app, std::string_view seconds)
{
    const auto value = parseNumber(seconds);
    if (!value)
        throw Error(ErrorKind::Other, "Type mismatch");
    // The picker shows at most 23:59:59.
    const auto s = std::clamp<std::int64_t>(roundHalfEven(*value), 0, 86399);
    app.settings.DTPInterval = DateTime::timeOfDay(static_cast<int>(s / 3600), static_cast<int>((s % 3600) / 60),
                                                   static_cast<int>(s % 60));
}

void prcSettings(AppState& app, std::int16_t intMod)
{
    if (intMod == 1) {
        if (app.settingsUnreadable) {
            // What could not be read is not ours to overwrite: the user may still recover it.
            const auto kept = app.settingsPath + ".unreadable";
            app.sv.files.renameFile(app.settingsPath, kept);
            app.settingsUnreadable = false;
            app.log.prcAlertInfo(app.now("yyyymmdd HH:mm"), "Medium", "Unreadable settings file kept as: " + kept, 0,
                                 nullptr);
        }
        app.sv.files.replaceFile(app.settingsPath, settingsText(app), Files::Privacy::OwnerOnly);
    } else if (intMod == 2) {
        if (app.sv.files.fileExists(app.settingsPath)) {
            const auto text = app.sv.files.readFile(app.settingsPath);
            if (!text) {
                app.settingsUnreadable = true;
                app.log.prcAlertInfo(app.now("yyyymmdd HH:mm"), "Medium",
                                     "Settings file could not be read: " + app.settingsPath, 0, nullptr);
            } else {
                const auto result = applySettingsText(app, *text);
                if (!result.problems.empty()) {
                    std::string list;
                    for (const auto& p : result.problems)
                        list += (list.empty() ? "" : "; ") + p;
                    app.log.prcAlertInfo(app.now("yyyymmdd HH:mm"), "Medium", "Settings lines skipped: " + list, 0,
                                         nullptr);
                }
            }
        }
        app.ListView1.notify();
        app.form1.notify();
    }
    intervalFixUp(app);
}

} // namespace volmara
