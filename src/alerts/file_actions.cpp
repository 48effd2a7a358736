#include "alerts/file_actions.h"

#include "core/app_state.h"
#include "core/drive_probe.h"
#include "core/error.h"
#include "core/format.h"
#include "core/path_rules.h"

#include <memory>

namespace volmara {

// --- paths -----------------------------------------------------------------------------------

PathStyle pathStyle(const PathRules& rules)
{
    // The rule set says which separator it appends; that is the one fact the two styles differ in
    // that the rules expose.
    return rules.withSeparator("") == "\\" ? PathStyle::DriveLetters : PathStyle::Posix;
}

namespace {

std::string_view separators(const PathRules& rules)
{
    return pathStyle(rules) == PathStyle::DriveLetters ? std::string_view("\\/") : std::string_view("/");
}

} // namespace

std::string fileNameOf(const PathRules& rules, std::string_view path)
{
    const auto at = path.find_last_of(separators(rules));
    return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string parentFolderOf(const PathRules& rules, std::string_view path)
{
    const auto at = path.find_last_of(separators(rules));
    if (at == std::string_view::npos)
        return {};
    // The folder of a file at the top of a drive is the drive's root with its separator.
    const bool atRoot = pathStyle(rules) == PathStyle::Posix ? at == 0 : (at == 2 && path.size() > 1 && path[1] == ':');
    return std::string(path.substr(0, atRoot ? at + 1 : at));
}

std::string moveTarget(const PathRules& rules, std::string_view destination, std::string_view file)
{
    return rules.withSeparator(destination) + fileNameOf(rules, file);
}

bool belongsToEntry(const PathRules& rules, std::string_view file, std::string_view entryPath)
{
    if (pathStyle(rules) == PathStyle::DriveLetters)
        return equalsIgnoreCase(file.substr(0, 3), entryPath);
    const std::string entry = trim(entryPath);
    if (!file.starts_with('/') || !entry.starts_with('/'))
        return false;
    const std::string own = rules.withSeparator(entry);
    if (rules.driveRoot(entry) == own)
        return rules.driveRoot(file) == own;
    return file.starts_with(own);
}

// --- blocking work -----------------------------------------------------------------------------

std::string ioKeyOf(AppState& app, const std::string& path)
{
    auto key = app.sv.volumes.mountPointOf(path);
    return key.empty() ? app.sv.paths.defaultRoot() : key;
}

namespace {

// Long work runs under a key of its own, so that measurements of the same file system do not
// queue behind a copy that takes minutes.
std::string longKey(const std::string& key) { return "long:" + key; }

struct CancelOnDestruction {
    std::shared_ptr<WorkProgress> progress;
    ~CancelOnDestruction() { progress->cancelled = true; }
};

} // namespace

Task<void> runLongWork(AppState& app, std::string key, std::function<void(WorkProgress&)> work,
                       std::function<std::string(std::uint64_t done, std::uint64_t total)> caption)
{
    auto progress = std::make_shared<WorkProgress>();
    const CancelOnDestruction cancel{progress};
    Timer shown(app.sv.loop, 250, static_cast<bool>(caption));
    shown.onTick([&app, progress, caption] {
        if (!caption)
            return;
        app.form1.StatusBar1[0].text = caption(progress->done, progress->total);
        app.form1.notify();
    });
    auto call = app.sv.io.run(longKey(key), [work = std::move(work), progress] { work(*progress); }, std::nullopt);
    auto reply = co_await call;
    shown.setEnabled(false);
    if (!reply.answered())
        throw Error(ErrorKind::Other, "Device unavailable");
}

Task<void> moveFileAwaited(AppState& app, std::string from, std::string to)
{
    const auto name = fileNameOf(app.sv.paths, from);
    std::exception_ptr failure;
    try {
        auto moving = runLongWork(
            app, ioKeyOf(app, to),
            [&files = app.sv.files, from, to](WorkProgress& progress) { files.moveFile(from, to, progress); },
            [name](std::uint64_t done, std::uint64_t total) {
                const auto percent = total == 0 ? 100 : done * 100 / total;
                return "Moving File: " + name + " " + std::to_string(percent) + "%";
            });
        co_await moving;
    } catch (...) {
        failure = std::current_exception();
    }
    ++app.filesChanged;
    if (failure)
        std::rethrow_exception(failure);
}

Task<PathLook> lookAt(AppState& app, std::string path, FolderDetail detail)
{
    PathLook look;
    const auto key = ioKeyOf(app, path);
    auto looking = app.sv.io.run(key, [&files = app.sv.files, path] {
        PathLook seen;
        seen.answered = true;
        seen.facts = files.pathFacts(path);
        if (seen.facts.kind == PathKind::File)
            seen.typeName = files.typeName(path);
        return seen;
    });
    auto reply = co_await looking;
    if (!reply.answered())
        co_return look;
    look = std::move(*reply.value);
    if (look.facts.kind != PathKind::Folder || detail == FolderDetail::Skip)
        co_return look;
    // A folder that cannot be read shows no size and no content.
    auto walking = app.sv.io.run(
        longKey(key),
        [&files = app.sv.files, path]() -> std::pair<std::uint64_t, std::optional<FolderCounts>> {
            try {
                return {files.folderSize(path), files.folderCounts(path)};
            } catch (const Error&) {
                return {0, std::nullopt};
            }
        },
        std::nullopt);
    auto walked = co_await walking;
    if (walked.answered()) {
        look.folderBytes = walked.value->first;
        look.counts = walked.value->second;
    }
    co_return look;
}

// --- rows ------------------------------------------------------------------------------------

SpecifiedFileRow fileRow(const AppState& app, const std::string& tag, const PathLook& look)
{
    const auto& rules = app.sv.paths;
    const auto& locale = app.sv.locale;
    const auto date = [](const std::optional<DateTime>& when) { return when ? defaultDateText(*when) : std::string(); };
    SpecifiedFileRow row;
    row.tag = tag;
    row.location = parentFolderOf(rules, tag);
    switch (look.facts.kind) {
    case PathKind::File: {
        const auto kb = formatNumber(static_cast<double>(look.facts.size) / 1024, "0", locale);
        row.text = fileNameOf(rules, tag);
        row.size = kb + " KB";
        row.sizeTag = kb;
        row.accessed = date(look.facts.accessed);
        row.modified = date(look.facts.modified);
        row.created = date(look.facts.created);
        row.type = look.typeName;
        break;
    }
    case PathKind::Folder: {
        const double kb = static_cast<double>(look.folderBytes) / 1024;
        row.text = tag;
        row.size = formatNumber(kb, "##.##", locale) + " KB";
        row.sizeTag = formatNumber(kb, "0.##", locale);
        row.accessed = date(look.facts.accessed);
        row.modified = date(look.facts.modified);
        break;
    }
    case PathKind::Missing:
        row.text = fileNameOf(rules, tag);
        row.size = "n/a";
        row.sizeTag = "n/a";
        break;
    }
    return row;
}

SpecifiedProgramRow programRow(const PathRules& rules, const std::string& tag, std::string text)
{
    SpecifiedProgramRow row;
    row.tag = tag;
    row.text = std::move(text);
    row.location = parentFolderOf(rules, trim(tag));
    return row;
}

// --- reports ---------------------------------------------------------------------------------

void recordFileAction(AppState& app, const std::string& level, const std::string& text)
{
    app.log.prcAlertInfo(app.now("yyyymmdd HH:mm"), level, text, 0, nullptr);
}

bool reportManualAction(AppState& app, const std::string& message)
{
    if (app.dlgAlert.containsText(message))
        return false;
    recordFileAction(app, "Medium", message);
    const auto stamped = app.now("mm/dd/yy") + " " + app.now("hh:mm:ss") + message + "\r\n . \r\n";
    app.log.prependAlert(stamped);
    app.dlgAlert.prepend(stamped);
    app.dlgAlert.show();
    return true;
}

// --- file actions ----------------------------------------------------------------------------

Task<void> SendToRecycleBin(AppState& app, std::string path, std::int16_t /*flags: the trash always keeps it*/)
{
    std::exception_ptr failure;
    try {
        auto trashing = runLongWork(
            app, ioKeyOf(app, path), [&trash = app.sv.trash, path](WorkProgress&) { trash.moveToTrash(path); },
            [name = fileNameOf(app.sv.paths, path)](std::uint64_t, std::uint64_t) {
                return "Sending to Recycle Bin: " + name;
            });
        co_await trashing;
    } catch (...) {
        failure = std::current_exception();
    }
    ++app.filesChanged;
    if (failure)
        std::rethrow_exception(failure);
}

namespace {

std::int64_t effectiveTriggerKb(const AppState& app, const WatchEntry& entry, std::int64_t totalKb)
{
    const auto number =
        parseNumber(app.form1.chkDrive == 1 ? entry.triggerText : app.settings.txtSpace, app.sv.locale);
    if (!number)
        return 0;
    if (app.form1.OpDriv == 1)
        return roundHalfEven(static_cast<double>(totalKb) * *number * 0.01);
    return roundHalfEven(*number);
}

// The entry's drive measured again: true while it is still short of space.
Task<bool> stillShort(AppState& app, std::uint64_t entryId)
{
    const auto* entry = app.ListView1.find(entryId);
    if (!entry)
        co_return false;
    const auto probe = co_await probePath(app.sv, entry->path, Counts::Skip, entry->namedMountPoint);
    entry = app.ListView1.find(entryId);
    if (!entry || !probe.drive.ready)
        co_return false;
    co_return bytesToKb(probe.drive.freeBytes) < effectiveTriggerKb(app, *entry, bytesToKb(probe.drive.totalBytes));
}

} // namespace

Task<std::string> prcFileActOption(AppState& app, std::int16_t intOption, std::string strFile, std::string strDestin)
{
    if (intOption != 4)
        co_return "0";
    const auto look = co_await lookAt(app, strFile, FolderDetail::Skip);
    if (!look.answered || look.facts.kind != PathKind::File)
        co_return "0";
    const auto bytes = look.facts.size;
    const auto destination = co_await measureDrive(app.sv, strDestin);
    const auto freeKb = destination.ready ? bytesToKb(destination.availableBytes) : 0;
    if (static_cast<double>(bytes) / 1024 >= static_cast<double>(freeKb))
        co_return "0";

    bool moved = true;
    try {
        co_await moveFileAwaited(app, strFile, moveTarget(app.sv.paths, strDestin, strFile));
    } catch (const Error&) {
        moved = false;
    }
    const auto message = std::string(moved ? "" : "Failed ") + "Auto Moved File: " + strFile + " to " + strDestin +
                         " Size: " + std::to_string(bytes) + "\r\n.\r\n";
    recordFileAction(app, "Medium", message);
    co_return moved ? "1" : "0";
}

Task<std::int16_t> prcFileAct(AppState& app, std::int16_t intOption, std::uint64_t ItmX, std::int16_t intAmt,
                              std::string strPath, std::string strDestin, std::string strFile)
{
    std::int16_t acted = 0;
    if (intOption != 4)
        co_return acted;
    if (strDestin.empty())
        strDestin = app.sv.paths.prcChkDriv(app.settings.txtDrive);
    if (!strFile.empty()) {
        co_await prcFileActOption(app, intOption, strFile, strDestin);
        co_return 1;
    }
    // Last row first; the ids hold while the list changes under the yields.
    auto ids = app.LVFile.ids();
    for (auto it = ids.rbegin(); it != ids.rend() && acted < intAmt; ++it) {
        co_await app.sv.loop.yield();
        const auto* row = app.LVFile.find(*it);
        if (!row || !belongsToEntry(app.sv.paths, row->tag, strPath))
            continue;
        const std::string tag = row->tag;
        const auto look = co_await lookAt(app, tag, FolderDetail::Skip);
        if (!look.answered || look.facts.kind != PathKind::File)
            continue;
        const auto result = co_await prcFileActOption(app, intOption, tag, strDestin);
        app.LVFile.remove(*it);
        app.LVFile.notify();
        ++acted;
        app.form1.StatusBar1[0].text = "File Action on: " + tag;
        app.form1.notify();
        if (app.chkSeq == 1) {
            if (result == "1")
                break;
        } else if (!co_await stillShort(app, ItmX)) {
            break;
        }
    }
    co_return acted;
}

Task<void> ShowFileProperties(AppState& app, std::string path)
{
    const auto look = co_await lookAt(app, path);
    const auto row = fileRow(app, path, look);
    PropertiesRequest request{path, {}};
    const auto fact = [&](const char* label, const std::string& value) {
        if (!value.empty())
            request.facts.emplace_back(label, value);
    };
    fact("Type", look.facts.kind == PathKind::Folder ? std::string("Folder") : row.type);
    fact("Location", row.location);
    fact("Size", row.size);
    fact("Created", row.created);
    fact("Modified", row.modified);
    fact("Accessed", row.accessed);
    app.sv.shell.showProperties(request);
}

} // namespace volmara
