#include "xer/Purge.h"

#include "xer/FileKind.h"
#include "xer/PurgePasses.h"
#include "xer/XerLineReader.h"
#include "xer/XerLineWriter.h"

#include <new>
#include <optional>

namespace zembrel::xer {

namespace {

// The length of what was written to a file, or nothing when it cannot be told.
std::optional<std::uint64_t> sizeOf(ScratchFile& file) {
    auto back = file.readBack();
    return back ? std::optional((*back)->size()) : std::nullopt;
}

// "-POBS" goes before the last four characters, but never into the folder part: a name shorter
// than four characters gets it in front.
std::string withPobs(const std::string& path, const PathRules& paths) {
    const std::size_t nameStart = paths.folderOf(path).size();
    const std::size_t at = path.size() >= nameStart + 4 ? path.size() - 4 : nameStart;
    return path.substr(0, at) + "-POBS" + path.substr(at);
}

// The input read for the passes, copying itself byte for byte into a file as it is read: the
// intermediate file when no line is left out of it. It reads on from where it stands only.
class CopyingReadFile final : public ReadFile {
public:
    CopyingReadFile(std::unique_ptr<ReadFile> file, XerLineWriter& copy)
        : m_file(std::move(file)), m_copy(copy) {}
    Outcome<std::size_t> read(char* buffer, std::size_t size) override {
        auto n = m_file->read(buffer, size);
        if (n && *n > 0) {
            if (Status s = m_copy.write({buffer, *n}); !s)
                return s.failure();
        }
        return n;
    }
    Status seek(std::uint64_t offset) override {
        return offset == 0 ? Status{} : makeFailure(failure::InvalidCall);
    }
    std::uint64_t size() const override { return m_file->size(); }
    std::optional<FileId> id() const override { return m_file->id(); }

private:
    std::unique_ptr<ReadFile> m_file;
    XerLineWriter& m_copy;
};

// A name that another purge, or another user, may hold: the next one is tried.
bool nameTaken(const Failure& f) {
    return f.number == failure::PermissionDenied || f.number == failure::PathFileAccessError ||
           f.number == failure::FileAlreadyExists;
}

class Purger {
public:
    Purger(AppState& state, Platform& platform, OperationObserver& observer)
        : m_state(state), m_platform(platform), m_observer(observer) {}

    PurgeReport run();

private:
    PurgeOutcome write();
    std::optional<PurgeOutcome> checkNewName();
    PurgeOutcome writeFirst(std::unique_ptr<ReadFile> input, ScratchFile& first);
    PurgeOutcome filterRiskTypes(ScratchFile& intermediate);
    Outcome<std::string> keepIntermediate(ScratchFile& file);
    PurgeOutcome keepNew(ScratchFile& file);
    PurgeOutcome declined();
    bool replaceable(const std::string& name);
    Outcome<std::unique_ptr<XerLineReader>>
    readerOf(Outcome<std::unique_ptr<ReadFile>> opened,
             XerLineReader::LineEnds lineEnds = XerLineReader::LineEnds::Undecided);
    PurgeOutcome report();
    // How the command ends after a pass: not at all when the pass ran through.
    std::optional<PurgeOutcome> endAfter(const Outcome<xer::PassEnd>& end);
    PurgeOutcome failed(const Failure& f);
    PurgeOutcome empty(Table table);
    Notice notice(NoticeKind kind) const;

    AppState& m_state;
    Platform& m_platform;
    OperationObserver& m_observer;
    PurgeReport m_report;
    std::string m_newName;
    std::string m_folder;
    std::optional<FileId> m_inputId;
    std::optional<std::uint32_t> m_permissions;
    // Only a file that stood under the new name when the user agreed to replace it is replaced.
    ScratchFile::Replace m_replace = ScratchFile::Replace::No;
    std::int32_t m_kept = 0;
    // How the intermediate's lines end when the POBS pass wrote it; a copy decides for itself.
    XerLineReader::LineEnds m_intermediateLineEnds = XerLineReader::LineEnds::Undecided;
    // The risk types the intermediate file refers to, collected while it is written; the list
    // goes to the shared values where they are taken, once the intermediate file is complete.
    std::vector<std::string> m_referenced;
    std::optional<xer::RiskTypeReferences> m_references;
    std::optional<xer::ReferenceCollection> m_collection;
};

PurgeReport Purger::run() {
    try {
        m_report.outcome = write();
    } catch (const std::bad_alloc&) {
        // Everything the run held is released by now, its scratch files removed.
        m_report.outcome = failed(makeFailure(failure::OutOfMemory));
    }
    m_platform.pointer.setBusy(false);
    m_report.pobsRemoved = m_state.PobsRecordCount;
    m_report.riskTypesKept = m_kept;
    m_report.riskTypesReferenced = m_state.ReferencedRiskTypeCount;
    return m_report;
}

Notice Purger::notice(NoticeKind kind) const {
    Notice n;
    n.kind = kind;
    n.path = m_state.CurrentXerPath;
    n.newFile = m_newName;
    n.newName = m_report.newName;
    n.created = m_report.outcome == PurgeOutcome::Created;
    n.pobs = m_state.PobsRecordCount;
    n.riskTypes = m_report.riskTypesRemoved;
    n.table = m_report.emptyIn;
    n.failure = m_report.failure;
    return n;
}

std::optional<PurgeOutcome> Purger::endAfter(const Outcome<xer::PassEnd>& end) {
    if (!end)
        return failed(end.failure());
    if (*end == xer::PassEnd::Stopped)
        return PurgeOutcome::Stopped;
    return std::nullopt;
}

PurgeOutcome Purger::failed(const Failure& f) {
    m_report.failure = f;
    m_observer.notice(notice(NoticeKind::PurgeFailed));
    return PurgeOutcome::Failed;
}

PurgeOutcome Purger::empty(Table table) {
    m_report.emptyIn = table;
    m_observer.notice(notice(NoticeKind::Empty));
    return PurgeOutcome::Empty;
}

// Opens a pass's input, lets the window process its events, and reads it by lines.
Outcome<std::unique_ptr<XerLineReader>> Purger::readerOf(Outcome<std::unique_ptr<ReadFile>> opened,
                                                         XerLineReader::LineEnds lineEnds) {
    if (!opened)
        return opened.failure();
    auto reader = std::make_unique<XerLineReader>(std::move(*opened), m_platform.blockSize);
    // The intermediate file's lines end as the input's did: the POBS pass writes CR LF after
    // each, and a lone LF in a line of a CR-ended input stays a byte of that line, however the
    // intermediate's first line happens to end.
    if (lineEnds != XerLineReader::LineEnds::Undecided) {
        if (Status s = reader->seek({0, lineEnds}); !s)
            return s.failure();
    }
    m_platform.events.processEvents();
    return reader;
}

// The new name is settled before anything is read or written: a name that cannot be made
// fails at once, and the user is asked before anything of that name is replaced.
std::optional<PurgeOutcome> Purger::checkNewName() {
    if (Status s = m_platform.files.canCreate(m_newName); !s)
        return failed(s.failure());
    // The input itself, under another name, is never replaced.
    const auto newId = m_platform.files.fileId(m_newName);
    if (newId && newId == m_platform.files.fileId(m_state.CurrentXerPath))
        return failed(makeFailure(failure::PathFileAccessError));
    m_replace = ScratchFile::Replace::No;
    if (m_platform.files.entryKind(m_newName) == EntryKind::None)
        return std::nullopt;
    if (!m_observer.mayReplace(notice(NoticeKind::Overwrite)))
        return declined();
    m_replace = ScratchFile::Replace::Yes;
    return std::nullopt;
}

PurgeOutcome Purger::declined() {
    m_observer.notice(notice(NoticeKind::KeptExisting));
    return PurgeOutcome::KeptExisting;
}

// Puts the new file in place. A file that appeared under its name since the question is the
// user's: it stays, and the purge ends as if the user had kept it.
PurgeOutcome Purger::keepNew(ScratchFile& file) {
    const Status kept = file.keepAs(m_newName, m_replace);
    if (kept)
        return PurgeOutcome::Created;
    if (m_replace == ScratchFile::Replace::No &&
        kept.failure().number == failure::FileAlreadyExists)
        return declined();
    return failed(kept.failure());
}

PurgeOutcome Purger::write() {
    if (!m_platform.files.fileExists(m_state.CurrentXerPath)) {
        m_observer.notice(notice(NoticeKind::NotFound));
        return PurgeOutcome::NotFound;
    }
    if (std::int64_t{m_state.PobsRecordCount} + m_state.RiskTypeRecordCount <= 0) {
        // Nothing to remove: the report says so, with no new file named.
        m_state.PobsRecordCount = 0;
        m_state.RiskTypeRecordCount = 0;
        m_observer.notice(notice(NoticeKind::Purged));
        return PurgeOutcome::Nothing;
    }
    m_newName = withPobs(m_state.CurrentXerPath, m_platform.paths);
    m_report.newFile = m_newName;
    m_folder = m_platform.paths.folderOf(m_newName);
    if (auto ending = checkNewName())
        return *ending;
    m_platform.pointer.setBusy(true);
    m_kept = 0;
    auto input = m_platform.files.openRead(m_state.CurrentXerPath);
    if (!input)
        return failed(input.failure());
    m_inputId = (*input)->id();
    m_permissions = (*input)->permissions();
    m_report.sizeBefore = (*input)->size();
    // The copies are no more readable than the file they come from.
    auto first = m_platform.files.createScratch(m_folder, m_permissions);
    if (!first)
        return failed(first.failure());
    // Each copy is about as long as what it is made from.
    (*first)->reserve(*m_report.sizeBefore);
    const bool filter = m_state.RiskTypeRecordCount > 0;
    if (filter) {
        m_references.emplace(m_referenced);
        m_collection.emplace(*m_references);
    }
    if (const PurgeOutcome o = writeFirst(std::move(*input), **first); o != PurgeOutcome::Created)
        return o;
    const PurgeOutcome o = filter ? filterRiskTypes(**first) : keepNew(**first);
    if (o == PurgeOutcome::Created && !filter)
        m_report.sizeAfter = sizeOf(**first);
    return o == PurgeOutcome::Created ? report() : o;
}

// The POBS pass, or a copy when there is no POBS record (then there are risk types to filter,
// and the copy is what the reference pass reads): Created when it ran to its end. Either
// collects the references of the intermediate file when risk types are filtered.
PurgeOutcome Purger::writeFirst(std::unique_ptr<ReadFile> input, ScratchFile& first) {
    if (m_state.PobsRecordCount <= 0) {
        XerLineWriter copy(first, m_platform.blockSize);
        auto reader = readerOf(
            std::unique_ptr<ReadFile>(std::make_unique<CopyingReadFile>(std::move(input), copy)));
        if (!reader)
            return failed(reader.failure());
        auto end = xer::referencePass(**reader, m_platform.events, *m_collection);
        if (auto ending = endAfter(end))
            return *ending;
        const Status flushed = copy.flush();
        return flushed ? PurgeOutcome::Created : failed(flushed.failure());
    }
    auto reader = readerOf(std::move(input));
    if (!reader)
        return failed(reader.failure());
    if (m_platform.events.stopRequested())
        return PurgeOutcome::Stopped;
    if ((*reader)->atEnd())
        return empty(Table::Pobs);
    m_state.PobsRecordCount = 0;
    XerLineWriter writer(first, m_platform.blockSize);
    auto end = xer::pobsPass(**reader, writer, m_platform.events, m_state.PobsRecordCount,
                             m_collection ? &*m_collection : nullptr);
    if (auto ending = endAfter(end))
        return *ending;
    const Status flushed = writer.flush();
    m_intermediateLineEnds = (*reader)->lineEnds();
    return flushed ? PurgeOutcome::Created : failed(flushed.failure());
}

// The RISKTYPE pass from the intermediate file into the new file, with the references collected
// while the intermediate file was written. It reads the intermediate through its own handle;
// the intermediate gets its name only when the new file is complete, so that a failure leaves
// neither behind. Created means both are in place.
PurgeOutcome Purger::filterRiskTypes(ScratchFile& intermediate) {
    m_state.RiskTypeRecordCount = 0;
    m_state.ReferencedRiskTypes.clear();
    m_state.ReferencedRiskTypeCount = 0;
    auto reader = readerOf(intermediate.readBack(), m_intermediateLineEnds);
    if (!reader)
        return failed(reader.failure());
    if (m_platform.events.stopRequested())
        return PurgeOutcome::Stopped;
    if ((*reader)->atEnd())
        return empty(Table::RiskType);
    xer::RiskTypeReferences& references = *m_references;
    // Dropping a parent that did not fit would leave a kept type pointing at nothing.
    Status collected = m_collection->failure;
    if (collected && !references.addParents())
        collected = makeFailure(failure::Overflow);
    m_state.ReferencedRiskTypes = std::move(m_referenced);
    if (!collected)
        return failed(collected.failure());
    m_state.ReferencedRiskTypeCount = static_cast<std::int32_t>(references.count());
    auto output = m_platform.files.createScratch(m_folder, m_permissions);
    if (!output)
        return failed(output.failure());
    (*output)->reserve((*reader)->size());
    // Not written behind: while this pass read the intermediate file just written, the kernel's
    // copies into the new file were three to six times dearer on a second processor (Linux 6.18,
    // ext4: 1.4-2.7 s against 0.39-0.51 s for 1 GiB).
    XerLineWriter writer(**output, m_platform.blockSize, false);
    auto end = xer::riskTypePass(**reader, writer, m_platform.events, references,
                                 m_state.RiskTypeRecordCount, m_kept);
    if (auto ending = endAfter(end))
        return *ending;
    if (Status s = writer.flush(); !s)
        return failed(s.failure());
    const auto name = keepIntermediate(intermediate);
    if (!name)
        return failed(name.failure());
    const auto keptId = m_platform.files.fileId(*name);
    const PurgeOutcome outcome = keepNew(**output);
    // Without the new file its intermediate is of no use: it goes, unless it was replaced.
    if (outcome != PurgeOutcome::Created && keptId && m_platform.files.fileId(*name) == keptId)
        (void)m_platform.files.remove(*name);
    if (outcome == PurgeOutcome::Created) {
        m_report.intermediate = *name;
        m_report.sizeAfter = sizeOf(**output);
    }
    return outcome;
}

// An intermediate of ours, or nothing, may be replaced: never the input or the new file under
// another name, nor a file of the user's (one that is not XER text, a link, a device).
bool Purger::replaceable(const std::string& name) {
    const EntryKind kind = m_platform.files.entryKind(name);
    if (kind == EntryKind::None)
        return true;
    if (kind != EntryKind::File)
        return false;
    const auto id = m_platform.files.fileId(name);
    if (!id || id == m_inputId || id == m_platform.files.fileId(m_newName))
        return false;
    auto opened = m_platform.files.openRead(name);
    if (!opened)
        return false;
    const auto kindOfText = xer::fileKind(**opened, 64);
    return kindOfText && *kindOfText == xer::FileKind::Xer;
}

// The intermediate gets "Temp.TXT" in the new file's folder, or the first of "Temp-2.TXT",
// "Temp-3.TXT" ... that may be replaced and that this user may replace. Only an earlier
// intermediate is replaced: a free name is taken only while it stays free.
Outcome<std::string> Purger::keepIntermediate(ScratchFile& file) {
    for (int n = 1; n < 10000; ++n) {
        const std::string name =
            m_folder + (n == 1 ? "Temp" : "Temp-" + std::to_string(n)) + ".TXT";
        if (!replaceable(name))
            continue;
        const auto replace = m_platform.files.entryKind(name) == EntryKind::None
                                 ? ScratchFile::Replace::No
                                 : ScratchFile::Replace::Yes;
        const Status kept = file.keepAs(name, replace);
        if (kept)
            return name;
        if (!nameTaken(kept.failure()))
            return kept.failure();
    }
    return makeFailure(failure::FileAlreadyExists);
}

PurgeOutcome Purger::report() {
    m_report.riskTypesRemoved = m_state.RiskTypeRecordCount - m_kept;
    PurgeOutcome outcome = PurgeOutcome::NotCreated;
    if (m_platform.files.fileExists(m_newName)) {
        m_state.CurrentXerPath = m_newName;
        m_state.CurrentXerName = withPobs(m_state.CurrentXerName, m_platform.paths);
        m_report.newName = m_state.CurrentXerName;
        outcome = PurgeOutcome::Created;
    }
    m_report.outcome = outcome;
    m_observer.notice(notice(NoticeKind::Purged));
    return outcome;
}

} // namespace

PurgeReport Purge(AppState& state, Platform& platform, OperationObserver& observer) {
    return Purger(state, platform, observer).run();
}

} // namespace zembrel::xer
