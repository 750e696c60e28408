#pragma once

#include "xer/Notice.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace zembrel::test {

// Records an operation's notices, each also as a short line ("opening", "repaired 2",
// "surveyed 3 1", "failed #70", "purged 3 0 Plan-POBS.xer"), and answers the overwrite
// question from a queue (Yes, the default button, when it is empty).
class NoticeLog final : public xer::OperationObserver {
public:
    std::vector<xer::Notice> notices;
    std::vector<std::string> lines;
    std::deque<bool> answers;
    std::function<void(const xer::Notice&)> onNotice;

    void notice(const xer::Notice& n) override {
        notices.push_back(n);
        lines.push_back(line(n));
        if (onNotice)
            onNotice(n);
    }
    bool mayReplace(const xer::Notice& n) override {
        notice(n);
        if (answers.empty())
            return true;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void clear() {
        notices.clear();
        lines.clear();
    }

    static std::string line(const xer::Notice& n) {
        using K = xer::NoticeKind;
        const std::string table = n.table == xer::Table::Pobs ? "POBS" : "RISKTYPE";
        const std::string failure = "failed #" + std::to_string(n.failure.number);
        switch (n.kind) {
        case K::NotSpecified: return "not specified";
        case K::NotFound: return "not found";
        case K::Opening: return "opening";
        case K::Reconditioning: return "reconditioning";
        case K::Repaired: return "repaired " + std::to_string(n.repaired);
        case K::Broken: return "broken " + table;
        case K::SurveyFailed:
        case K::PurgeFailed: return failure;
        case K::Surveyed:
            return "surveyed " + std::to_string(n.pobs) + " " + std::to_string(n.riskTypes);
        case K::Overwrite: return "overwrite " + n.newFile;
        case K::KeptExisting: return "kept " + n.newFile;
        case K::Empty: return "empty " + table;
        case K::Purged:
            return "purged " + std::to_string(n.pobs) + " " + std::to_string(n.riskTypes) +
                   (n.newFile.empty() ? ""
                    : n.created       ? " " + n.newName
                                      : " not created");
        }
        return "?";
    }
};

} // namespace zembrel::test
