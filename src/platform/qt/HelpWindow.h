#pragma once

#include <QDir>
#include <QWidget>

#include <vector>

class QTextBrowser;
class QTreeWidget;

namespace zembrel {

// The help pages as HTML with their table of contents beside them: for a desktop without a
// viewer of compiled help.
class HelpWindow final : public QWidget {
public:
    struct Topic {
        QString name;
        QString page; // relative to the help folder
        int depth = 0;
    };
    // The table of contents of the help folder (its .hhc file), or none.
    static std::vector<Topic> readContents(const QDir& folder);
    static std::vector<Topic> parseContents(const QString& hhc);

    HelpWindow(const QDir& folder, std::vector<Topic> contents, QWidget* parent = nullptr);

    QTreeWidget* contentsTree() const { return m_tree; }
    QTextBrowser* page() const { return m_page; }

private:
    QTreeWidget* m_tree;
    QTextBrowser* m_page;
};

} // namespace zembrel
