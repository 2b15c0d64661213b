// The language dialog: fills its list from the file, takes its texts from the table, loads
// the chosen language on OK and tells the user to restart; Cancel changes nothing.
#include "morvelan/ui/language_dlg.h"
#include "tests/xui/xbase_test_support.h"
#include "xui/message_dlg.h"

#include <QComboBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class LanguageDialog : public ::testing::Test {
protected:
    void SetUp() override {
        xbase_test::app();
        xbase_test::registerStandInButton();
        char tmpl[] = "/tmp/mv_langdlg_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        std::ofstream(dir_ / "Sprache.txt", std::ios::binary)
            << "ID;English;Deutsch\r\n240;Select language;Sprache w\xE4hlen\r\n"
               "241;Language;Sprache\r\n1;One;Eins\r\n";
        language_.SetProgramDirectory(dir_.string());
        ASSERT_EQ(language_.Load("English"), 1);
        xui::setMessagePresenter([this](const xui::MessageRequest& r) {
            messages_.push_back(r);
            return mv::IDOK;
        });
    }
    void TearDown() override {
        xui::setMessagePresenter({});
        fs::remove_all(dir_);
    }
    fs::path dir_;
    mv::CLanguage language_;
    std::vector<xui::MessageRequest> messages_;
};

TEST_F(LanguageDialog, ShowsTheLanguagesAndItsTexts) {
    morvelan::CLanguageDlg d(language_);
    d.ShowModeless();
    ASSERT_NE(d.combo(), nullptr);
    EXPECT_EQ(d.combo()->count(), 2);
    EXPECT_EQ(d.combo()->itemText(1), "Deutsch");
    EXPECT_EQ(d.combo()->currentIndex(), 0);
    EXPECT_EQ(d.windowTitle(), "Select language");
    EXPECT_EQ(xui::windowText(d.item(morvelan::kLanguageLabel)), "Language");
    // The label is painted as a box in the label colour.
    const QImage img = d.grab().toImage();
    const mv::RECT r = d.controlRect(d.item(morvelan::kLanguageLabel));
    EXPECT_EQ(xbase_test::pixel(img, r.left + 1, r.top + 1), 0xDEBF97u);
    EXPECT_EQ(xbase_test::pixel(img, r.left, r.top), 0xFFFFFFu);
}

TEST_F(LanguageDialog, ControlsDoNotOverlapAndTheChoiceIsVisible) {
    morvelan::CLanguageDlg d(language_);
    d.ShowModeless();
    QComboBox* combo = d.combo();
    ASSERT_NE(combo, nullptr);
    const QRect c = combo->geometry();
    for (int id : {mv::IDOK, mv::IDCANCEL}) {
        EXPECT_FALSE(c.intersects(d.item(id)->geometry())) << id;
    }
    EXPECT_FALSE(d.item(mv::IDOK)->geometry().intersects(d.item(mv::IDCANCEL)->geometry()));
    // The current text "English" shows as dark ink in the left part of the closed box.
    const QImage img = d.grab().toImage();
    int dark = 0;
    for (int y = c.top() + 2; y < c.bottom() - 1; ++y) {
        for (int x = c.left() + 3; x < c.left() + c.width() / 2; ++x) {
            dark += qGray(img.pixel(x, y)) < 100 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 20);
}

TEST_F(LanguageDialog, OkLoadsTheChoiceAndAsksForARestart) {
    morvelan::CLanguageDlg d(language_);
    QTimer::singleShot(0, &d, [&] {
        d.combo()->setCurrentIndex(1);
        qobject_cast<QPushButton*>(d.item(mv::IDOK))->click();
    });
    EXPECT_EQ(d.DoModal(), mv::IDOK);
    EXPECT_EQ(language_.LanguageName(), "Deutsch");
    EXPECT_EQ(language_.GetText(1), "Eins");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].line1, "Please restart software to use new language");
    EXPECT_EQ(messages_[0].line2, "");
    EXPECT_EQ(messages_[0].caption, "Language");
    EXPECT_EQ(messages_[0].bitmapId, 159);
    EXPECT_EQ(messages_[0].buttonMode, 0);
    EXPECT_EQ(messages_[0].captionColor, 0x800000u);
}

TEST_F(LanguageDialog, CancelChangesNothing) {
    morvelan::CLanguageDlg d(language_);
    QTimer::singleShot(0, &d, [&] {
        d.combo()->setCurrentIndex(1);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_EQ(d.DoModal(), mv::IDCANCEL);
    EXPECT_EQ(language_.LanguageName(), "English");
    EXPECT_TRUE(messages_.empty());
}

} // namespace
