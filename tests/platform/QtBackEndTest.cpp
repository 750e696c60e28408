#include "TempFolder.h"
#include "platform/qt/QtBusyPointer.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtMessageBoxes.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace zembrel {
namespace {

// Runs act on the modal dialog that the next call opens, once it is up; a dialog of another
// kind is closed, so that a failing test does not hang.
template <typename Dialog> void whenModal(std::function<void(Dialog*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<Dialog*>(modal);
        if (!dialog) {
            ADD_FAILURE() << "no dialog of the expected kind";
            if (modal)
                modal->close();
            return;
        }
        act(dialog);
    });
}

TEST(QtMessageBoxesTest, ShowsTextTitleIconAndButtonsWithYesAsDefault) {
    QtMessageBoxes boxes;
    whenModal<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->text(), QStringLiteral("Are you sure?\nReally."));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Plovard"));
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
        EXPECT_NE(box->button(QMessageBox::No), nullptr);
        box->defaultButton()->click();
    });
    EXPECT_EQ(boxes.show("Are you sure?\nReally.", MessageButtons::YesNo, MessageIcon::Question,
                         "Plovard"),
              MessageAnswer::Yes);
    whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
    EXPECT_EQ(boxes.show("?", MessageButtons::YesNo, MessageIcon::Question, "Plovard"),
              MessageAnswer::No);
    const std::pair<MessageIcon, QMessageBox::Icon> icons[] = {
        {MessageIcon::None, QMessageBox::NoIcon},
        {MessageIcon::Information, QMessageBox::Information},
        {MessageIcon::Exclamation, QMessageBox::Warning},
        {MessageIcon::Critical, QMessageBox::Critical}};
    for (const auto& [icon, expected] : icons) {
        whenModal<QMessageBox>([expected = expected](QMessageBox* box) {
            EXPECT_EQ(box->icon(), expected);
            EXPECT_EQ(box->buttons().size(), 1);
            box->button(QMessageBox::Ok)->click();
        });
        EXPECT_EQ(boxes.show("x", MessageButtons::Ok, icon, "Plovard Enterprise"),
                  MessageAnswer::Ok);
    }
}

TEST(QtBusyPointerTest, BusyIsOneStateNotAStack) {
    {
        QtBusyPointer pointer;
        pointer.setBusy(true);
        pointer.setBusy(true);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        pointer.setBusy(false);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        pointer.setBusy(true);
    } // a pointer left busy is reset when its owner goes
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(QtEventPumpTest, RunsEventsAtTheFirstYieldAndThenOnlyNowAndThen) {
    QtEventPump pump;
    int delivered = 0;
    QTimer::singleShot(0, [&] { ++delivered; });
    pump.processEvents();
    EXPECT_EQ(delivered, 1);
    EXPECT_EQ(pump.eventRuns(), 1);
    // A million cheap yields: the clock is read rarely and events run only every 15 ms.
    for (int i = 0; i < 1000000; ++i)
        pump.processEvents();
    EXPECT_GT(pump.stride(), 1u);
    EXPECT_LT(pump.eventRuns(), 1000);
    // The run that must happen now does not wait for the interval.
    QTimer::singleShot(0, [&] { ++delivered; });
    pump.processEventsNow();
    EXPECT_EQ(delivered, 2);
}

// The names the dialog lists in its folder, once it has read the folder.
QStringList listed(QFileDialog* dialog) {
    auto* model = dialog->findChild<QFileSystemModel*>();
    if (!model)
        return {};
    const QModelIndex folder = model->index(dialog->directory().absolutePath());
    bool loaded = false;
    QObject::connect(model, &QFileSystemModel::directoryLoaded, [&] { loaded = true; });
    for (int i = 0; i < 1000 && !loaded && model->rowCount(folder) < 2; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    QStringList names;
    for (int row = 0; row < model->rowCount(folder); ++row)
        names << model->index(row, 0, folder).data().toString();
    names.sort();
    return names;
}

TEST(QtFileDialogTest, FilterAndStartFolder) {
    EXPECT_EQ(QtFileDialog::nameFilters("P6 XER Files|*.XER"),
              QStringList{QStringLiteral("P6 XER Files (*.XER)")});
    EXPECT_EQ(QtFileDialog::nameFilters("Programs|*.exe;*.com|All|*.*"),
              (QStringList{QStringLiteral("Programs (*.exe *.com)"), QStringLiteral("All (*.*)")}));
    test::TempFolder temp;
    const QString root = QString::fromStdString(temp.path());
    EXPECT_EQ(QtFileDialog::startFolder(temp.path() + "/"), root);
    // A remembered folder that has gone: its nearest existing parent.
    EXPECT_EQ(QtFileDialog::startFolder(temp.path() + "/gone/deeper/"), root);
    EXPECT_EQ(QtFileDialog::startFolder("C:\\"), QDir::homePath());
}

TEST(QtFileDialogTest, OffersXerFilesInAnyCaseAndReportsCancelApart) {
    test::TempFolder temp;
    temp.write("Plan.xer", "x");
    temp.write("Other.txt", "x");
    const std::string chosen = temp.write("Big Job \xc3\xa4.XER", "x");
    FileDialogOptions options;
    options.initialFolder = temp.path() + "/";
    options.filter = "P6 XER Files|*.XER";
    options.title = "Select the P6 Backup File to be Analyzed.";
    QtFileDialog dialog;

    whenModal<QFileDialog>([&](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Select the P6 Backup File to be Analyzed."));
        EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(d->directory().absolutePath(), QString::fromStdString(temp.path()));
        EXPECT_EQ(d->selectedNameFilter(), QStringLiteral("P6 XER Files (*.XER)"));
        EXPECT_EQ(listed(d), (QStringList{QString::fromUtf8("Big Job \xc3\xa4.XER"),
                                          QStringLiteral("Plan.xer")}));
        // Typed into the name field, as a user would.
        auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name) {
            ADD_FAILURE() << "no name field";
            d->reject();
            return;
        }
        name->setText(QString::fromUtf8("Big Job \xc3\xa4.XER"));
        QMetaObject::invokeMethod(d, "accept");
    });
    const auto choice = dialog.open(options);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->path, chosen);
    EXPECT_EQ(choice->name, "Big Job \xc3\xa4.XER");

    whenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    EXPECT_FALSE(dialog.open(options).has_value());
}

} // namespace
} // namespace zembrel
