#include "app/qt/qt_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace kastrel::app::qt {
namespace {

TEST(QtNameFilters, TurnsDescriptionPatternPairsIntoQtFilters) {
    const struct {
        std::string filter;
        QStringList expected;
    } cases[] = {
        {"Excel Werkzeug Korrekturdatei (*.xls)|*.xls",
         {QStringLiteral("Excel Werkzeug Korrekturdatei (*.xls)")}},
        {"Textdatei|*.txt", {QStringLiteral("Textdatei (*.txt)")}},
        {"Tabellen|*.xls;*.csv|Alle Dateien (*.*)|*.*",
         {QStringLiteral("Tabellen (*.xls *.csv)"), QStringLiteral("Alle Dateien (*.*)")}},
        {"Ohne Muster", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qt_name_filters(c.filter), c.expected) << c.filter;
    }
}

TEST(QtDialogsSetup, SaveDialogAsksBeforeOverwritingAndAddsNoSuffix) {
    QFileDialog dialog;
    SaveDialogRequest request;
    request.proposed_name = "Ausgabe1.xls";
    configure_save_dialog(dialog, request);

    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    request.flags = 4;
    configure_save_dialog(dialog, request);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog.nameFilters(),
              (QStringList{QStringLiteral("Excel Werkzeug Korrekturdatei (*.xls)"),
                           QStringLiteral("Excel-Arbeitsmappe (*.xlsx)"),
                           QStringLiteral("AQDEF-Datei für SPC (*.dfq)")}));
    // The text file is the type shown, and a name without extension stays as typed.
    EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("Excel Werkzeug Korrekturdatei (*.xls)"));
    EXPECT_TRUE(dialog.defaultSuffix().isEmpty());
    ASSERT_EQ(dialog.selectedFiles().size(), 1);
    EXPECT_EQ(QFileInfo(dialog.selectedFiles()[0]).fileName(), QStringLiteral("Ausgabe1.xls"));
}

// Choosing the workbook type makes "Flansch" "Flansch.xlsx"; choosing the
// text type again, "Flansch" as typed.
TEST(QtDialogsSetup, TheWorkbookTypeAddsItsExtensionToANameWithoutOne) {
    QFileDialog dialog;
    configure_save_dialog(dialog, SaveDialogRequest{});
    const QStringList filters = dialog.nameFilters();
    dialog.selectFile(QStringLiteral("Flansch"));

    dialog.selectNameFilter(filters[1]);
    emit dialog.filterSelected(filters[1]);
    EXPECT_EQ(QFileInfo(dialog.selectedFiles().value(0)).fileName(),
              QStringLiteral("Flansch.xlsx"));
    dialog.selectNameFilter(filters[0]);
    emit dialog.filterSelected(filters[0]);
    EXPECT_EQ(QFileInfo(dialog.selectedFiles().value(0)).fileName(), QStringLiteral("Flansch"));
}

TEST(QtDialogsSetup, FilterIndexPicksFromOne) {
    QFileDialog dialog;
    SaveDialogRequest request;
    request.filter = "Tabelle|*.xls|Text|*.txt";
    request.filter_index = 2;
    request.default_extensions = {"", "txt"};
    configure_save_dialog(dialog, request);
    EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("Text (*.txt)"));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("txt"));
}

TEST(QtDialogsSetup, MessageBoxHasTitleTextAndOneOkButton) {
    QMessageBox box;
    configure_message_box(box, QStringLiteral("<b>1 & 2</b>"));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Sarvinet"));
    EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box.text(), QStringLiteral("<b>1 & 2</b>"));
    EXPECT_EQ(box.textFormat(), Qt::PlainText);
    EXPECT_EQ(box.buttons().size(), 1);
    EXPECT_EQ(box.standardButton(box.buttons().at(0)), QMessageBox::Ok);
}

// Runs `answer` on the modal dialog once it is up, so exec() returns.
void when_modal(std::function<void(QWidget&)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        answer(*modal);
    });
}

TEST(QtDialogsRun, TypedNameWithoutExtensionIsReturnedAsTypedWithItsFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    when_modal([](QWidget& modal) {
        auto* name = modal.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QStringLiteral("ergebnis"));
        static_cast<QDialog&>(modal).accept();
    });
    SaveDialogRequest request;
    request.proposed_name = QDir(dir.path()).filePath(QStringLiteral("alt.xls")).toStdString();

    const std::optional<QString> chosen = QtDialogs().save_file(nullptr, request);

    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, QDir(dir.path()).absoluteFilePath(QStringLiteral("ergebnis")));
}

// Answers the overwrite question No, once it shows, or closes the Save
// dialog when none comes; counts the questions. Ends with the dialog.
void answer_question_or_close(QWidget& dialog, int& questions, int tries = 50) {
    QTimer::singleShot(10, &dialog, [&dialog, &questions, tries] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* question = qobject_cast<QMessageBox*>(window)) {
                if (!question->isVisible() && tries > 0)
                    return answer_question_or_close(dialog, questions, tries - 1);
                ++questions;
                question->button(QMessageBox::No)->click();
                return answer_question_or_close(dialog, questions, 0);
            }
        if (dialog.isVisible()) // not accepted meanwhile
            static_cast<QDialog&>(dialog).reject();
    });
}

// An existing file that is continued is chosen without a question; one that
// would be replaced is asked about (answered No here: the dialog stays).
TEST(QtDialogsRun, OnlyAFileThatIsReplacedIsAskedAbout) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"serie.DFQ", "serie.xls"})
        QFile(QDir(dir.path()).filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    int questions = 0;
    const auto choose = [&](const QString& name) {
        when_modal([&, name](QWidget& modal) {
            modal.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
            answer_question_or_close(modal, questions);
            static_cast<QDialog&>(modal).accept();
        });
        SaveDialogRequest request;
        request.proposed_name = QDir(dir.path()).filePath(QStringLiteral("alt.xls")).toStdString();
        return QtDialogs().save_file(nullptr, request);
    };

    EXPECT_EQ(choose(QStringLiteral("serie.DFQ")),
              QDir(dir.path()).absoluteFilePath(QStringLiteral("serie.DFQ")));
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(choose(QStringLiteral("serie.xls")), std::nullopt);
    EXPECT_EQ(questions, 1);
}

TEST(QtDialogsRun, CancelledSaveReturnsNothing) {
    when_modal([](QWidget& modal) { static_cast<QDialog&>(modal).reject(); });
    EXPECT_EQ(QtDialogs().save_file(nullptr, SaveDialogRequest{}), std::nullopt);
}

} // namespace
} // namespace kastrel::app::qt
