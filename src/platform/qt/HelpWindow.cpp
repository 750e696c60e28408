#include "platform/qt/HelpWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>

namespace zembrel {

std::vector<HelpWindow::Topic> HelpWindow::readContents(const QDir& folder) {
    const QStringList found = folder.entryList({QStringLiteral("*.hhc")}, QDir::Files);
    QFile file(found.isEmpty() ? QString() : folder.filePath(found.front()));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseContents(QString::fromLatin1(file.readAll()));
}

// The contents file is HTML: nested <UL> lists whose items are objects with a "Name" and a
// "Local" parameter.
std::vector<HelpWindow::Topic> HelpWindow::parseContents(const QString& hhc) {
    static const QRegularExpression token(
        QString::fromLatin1(R"re(<(/?)UL\b|<param\s+name="(Name|Local)"\s+value="([^"]*)")re"),
        QRegularExpression::CaseInsensitiveOption);
    std::vector<Topic> topics;
    int depth = -1;
    Topic topic;
    for (auto it = token.globalMatch(hhc); it.hasNext();) {
        const auto m = it.next();
        if (m.capturedLength(2) == 0) {
            depth += m.capturedLength(1) == 0 ? 1 : -1;
        } else if (m.captured(2).compare(QStringLiteral("Name"), Qt::CaseInsensitive) == 0) {
            topic = {m.captured(3), {}, std::max(depth, 0)};
        } else if (!topic.name.isEmpty()) {
            topic.page = m.captured(3);
            topics.push_back(topic);
            topic = {};
        }
    }
    return topics;
}

HelpWindow::HelpWindow(const QDir& folder, std::vector<Topic> contents, QWidget* parent)
    : QWidget(parent), m_tree(new QTreeWidget), m_page(new QTextBrowser) {
    setWindowTitle(QStringLiteral("Zembrel POBS Help"));
    setObjectName(QStringLiteral("HelpWindow"));
    m_tree->setHeaderHidden(true);
    m_page->setSearchPaths({folder.absolutePath()});
    m_page->setOpenExternalLinks(true);
    std::vector<QTreeWidgetItem*> parents;
    for (const Topic& topic : contents) {
        parents.resize(static_cast<std::size_t>(topic.depth));
        auto* item =
            parents.empty() ? new QTreeWidgetItem(m_tree) : new QTreeWidgetItem(parents.back());
        item->setText(0, topic.name);
        item->setData(0, Qt::UserRole, topic.page);
        parents.push_back(item);
    }
    m_tree->expandAll();
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            m_page->setSource(QUrl(item->data(0, Qt::UserRole).toString()));
    });
    auto* split = new QSplitter;
    split->addWidget(m_tree);
    split->addWidget(m_page);
    split->setStretchFactor(1, 3);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);
    resize(820, 560);
    if (m_tree->topLevelItemCount() > 0)
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
}

} // namespace zembrel
