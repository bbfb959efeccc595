#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QSignalSpy>

#include "window_fixture.h"

namespace {

struct Layout {
    RenameMode mode;
    const char* primaryCaption;
    const char* secondaryCaption;  // nullptr: the second field is hidden
    InputMode secondaryInput;
};

void PrintTo(const Layout& layout, std::ostream* os) {
    *os << "mode " << static_cast<int>(layout.mode);
}

class ModeLayout : public WindowTest, public testing::WithParamInterface<Layout> {};

// Every selection comes after ReplaceText with text typed into both fields, so each shows that
// the fields are emptied too.
TEST_P(ModeLayout, ShowsTheFieldsOfTheMode) {
    const Layout& layout = GetParam();
    clickMode(RenameMode::ReplaceText);
    typeInto(edit("PrimaryEdit"), QStringLiteral("abc"));
    typeInto(edit("SecondaryEdit"), QStringLiteral("def"));
    ASSERT_TRUE(button("RenameButton")->isEnabled());

    clickMode(layout.mode);
    EXPECT_TRUE(modeButton(layout.mode)->isChecked());
    EXPECT_EQ(window->renameSettings().mode, layout.mode);
    EXPECT_TRUE(label("PrimaryLabel")->isVisible());
    EXPECT_TRUE(edit("PrimaryEdit")->isVisible());
    EXPECT_EQ(label("PrimaryLabel")->text(), QString::fromUtf8(layout.primaryCaption));
    const bool second = layout.secondaryCaption != nullptr;
    EXPECT_EQ(label("SecondaryLabel")->isVisible(), second);
    EXPECT_EQ(secondaryEdit()->isVisible(), second);
    if (second) {
        EXPECT_EQ(label("SecondaryLabel")->text(), QString::fromUtf8(layout.secondaryCaption));
        EXPECT_EQ(secondaryEdit()->inputMode(), layout.secondaryInput);
    }
    EXPECT_TRUE(edit("PrimaryEdit")->text().isEmpty());
    EXPECT_TRUE(secondaryEdit()->text().isEmpty());
    EXPECT_FALSE(button("RenameButton")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    EveryMode, ModeLayout,
    testing::Values(
        Layout{RenameMode::AddPrefix, "欲增加的文字：", nullptr, InputMode::FreeText},
        Layout{RenameMode::AddSuffix, "欲增加的文字：", nullptr, InputMode::FreeText},
        Layout{RenameMode::ReplaceText, "欲搜索的文字：", "欲修改的文字：", InputMode::FreeText},
        Layout{RenameMode::SplitKeepFront, "被分割的关键字：", nullptr, InputMode::FreeText},
        Layout{RenameMode::SplitKeepBack, "被分割的关键字：", nullptr, InputMode::FreeText},
        Layout{RenameMode::KeywordWithFront, "以分割的关键字：", nullptr, InputMode::FreeText},
        Layout{RenameMode::KeywordWithBack, "以分割的关键字：", nullptr, InputMode::FreeText},
        Layout{RenameMode::InsertFromFront, "欲增加的文字：", "增加文字的位置：",
               InputMode::IntegerOnly},
        Layout{RenameMode::InsertFromBack, "欲增加的文字：", "增加文字的位置：",
               InputMode::IntegerOnly}),
    [](const testing::TestParamInfo<Layout>& info) {
        return "mode" + std::to_string(static_cast<int>(info.param.mode));
    });

TEST_F(WindowTest, ModeButtonsFormOneGroup) {
    clickMode(RenameMode::AddPrefix);
    clickMode(RenameMode::KeywordWithBack);
    for (int mode = 1; mode <= 9; ++mode) {
        EXPECT_EQ(modeButton(static_cast<RenameMode>(mode))->isChecked(), mode == 7) << mode;
    }
}

TEST_F(WindowTest, ReselectingTheModeEmptiesTheFieldsAgain) {
    clickMode(RenameMode::InsertFromBack);
    typeInto(edit("PrimaryEdit"), QStringLiteral("x"));
    typeInto(secondaryEdit(), QStringLiteral("3"));
    ASSERT_TRUE(button("RenameButton")->isEnabled());
    clickMode(RenameMode::InsertFromBack);
    EXPECT_TRUE(modeButton(RenameMode::InsertFromBack)->isChecked());
    EXPECT_TRUE(edit("PrimaryEdit")->text().isEmpty());
    EXPECT_TRUE(secondaryEdit()->text().isEmpty());
    EXPECT_FALSE(button("RenameButton")->isEnabled());
    EXPECT_TRUE(secondaryEdit()->isVisible());
}

TEST_F(WindowTest, RenameButtonIsEnabledExactlyWhilePrimaryEditHoldsText) {
    clickMode(RenameMode::ReplaceText);
    typeInto(secondaryEdit(), QStringLiteral("only here"));
    EXPECT_FALSE(button("RenameButton")->isEnabled()) << "the second field plays no part";

    QLineEdit* primary = edit("PrimaryEdit");
    click(primary);
    QTest::keyClick(primary, Qt::Key_Space);
    EXPECT_EQ(primary->text(), QStringLiteral(" "));
    EXPECT_TRUE(button("RenameButton")->isEnabled()) << "a blank counts";
    QTest::keyClick(primary, Qt::Key_Backspace);
    EXPECT_FALSE(button("RenameButton")->isEnabled());

    // Pasted text counts like typed text.
    QGuiApplication::clipboard()->setText(QStringLiteral("p"));
    QTest::keyClick(primary, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(primary->text(), QStringLiteral("p"));
    EXPECT_TRUE(button("RenameButton")->isEnabled());
}

struct Typing {
    RenameMode mode;
    const char* typed;
    const char* kept;
};

void PrintTo(const Typing& typing, std::ostream* os) {
    *os << "mode " << static_cast<int>(typing.mode) << " typing " << typing.typed;
}

class PositionTyping : public WindowTest, public testing::WithParamInterface<Typing> {};

TEST_P(PositionTyping, KeepsWhatTheFieldTakes) {
    clickMode(GetParam().mode);
    typeInto(secondaryEdit(), QString::fromUtf8(GetParam().typed));
    EXPECT_EQ(secondaryEdit()->text(), QString::fromUtf8(GetParam().kept));
}

INSTANTIATE_TEST_SUITE_P(Cases, PositionTyping,
                         testing::Values(Typing{RenameMode::InsertFromFront, "1a2.+", "12"},
                                         Typing{RenameMode::InsertFromBack, "-x 9", "-9"},
                                         Typing{RenameMode::ReplaceText, "1a2.+", "1a2.+"}),
                         [](const testing::TestParamInfo<Typing>& info) {
                             return "case" + std::to_string(info.index);
                         });

TEST_F(WindowTest, AnIntegerFieldDropsCharactersCommittedByAnInputMethod) {
    const auto commit = [this](const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(secondaryEdit(), &event);
    };
    clickMode(RenameMode::InsertFromFront);
    click(secondaryEdit());
    commit(QStringLiteral("中"));
    EXPECT_TRUE(secondaryEdit()->text().isEmpty());
    commit(QStringLiteral("文4"));
    EXPECT_EQ(secondaryEdit()->text(), QStringLiteral("4"));

    clickMode(RenameMode::ReplaceText);
    click(secondaryEdit());
    commit(QStringLiteral("中"));
    EXPECT_EQ(secondaryEdit()->text(), QStringLiteral("中"));
}

struct Normalised {
    const char* typed;
    const char* left;
};

void PrintTo(const Normalised& n, std::ostream* os) {
    *os << '"' << n.typed << "\" -> \"" << n.left << '"';
}

class PositionLeaving : public WindowTest, public testing::WithParamInterface<Normalised> {};

TEST_P(PositionLeaving, NormalisesWhenTheFocusLeaves) {
    clickMode(RenameMode::InsertFromFront);
    typeInto(secondaryEdit(), QString::fromLatin1(GetParam().typed));
    ASSERT_EQ(secondaryEdit()->text(), QString::fromLatin1(GetParam().typed));
    QSignalSpy changes(secondaryEdit(), &QLineEdit::textChanged);
    click(edit("PrimaryEdit"));
    ASSERT_FALSE(secondaryEdit()->hasFocus());
    EXPECT_EQ(secondaryEdit()->text(), QString::fromLatin1(GetParam().left));
    EXPECT_EQ(changes.count(), GetParam().left == std::string(GetParam().typed) ? 0 : 1)
        << "a text that is already normal is left untouched";
}

INSTANTIATE_TEST_SUITE_P(Cases, PositionLeaving,
                         testing::Values(Normalised{"007", "7"}, Normalised{"0", ""},
                                         Normalised{"-0", ""}, Normalised{"-", ""},
                                         Normalised{"5-3", "5"}, Normalised{"--5", ""},
                                         Normalised{"99999999999", "2147483647"},
                                         Normalised{"-99999999999", "-2147483648"},
                                         Normalised{"4294967297", "2147483647"},
                                         Normalised{"-2147483648", "-2147483648"},
                                         Normalised{"-12", "-12"}, Normalised{"", ""}),
                         [](const testing::TestParamInfo<Normalised>& info) {
                             return "case" + std::to_string(info.index);
                         });

TEST_F(WindowTest, PastedTextStaysUntilTheFocusLeaves) {
    struct Paste {
        const char* clipboard;
        const char* left;
    };
    for (const Paste& paste : {Paste{"12ab", "12"}, Paste{" \t+5x", "5"}, Paste{"ab", ""}}) {
        clickMode(RenameMode::InsertFromFront);
        QGuiApplication::clipboard()->setText(QString::fromLatin1(paste.clipboard));
        click(secondaryEdit());
        QTest::keyClick(secondaryEdit(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(secondaryEdit()->text(), QString::fromLatin1(paste.clipboard));
        QTest::keyClick(secondaryEdit(), Qt::Key_B, Qt::ControlModifier);
        EXPECT_EQ(secondaryEdit()->text(), QString::fromLatin1(paste.clipboard))
            << "a shortcut types nothing";
        click(edit("MarkEdit"));
        EXPECT_EQ(secondaryEdit()->text(), QString::fromLatin1(paste.left)) << paste.clipboard;
    }
}

TEST_F(WindowTest, ModeSequencesSetTheSecondFieldAnew) {
    struct Sequence {
        std::vector<RenameMode> modes;  // text is typed into SecondaryEdit after the first
        bool shown;
        const char* caption;
        InputMode input;
    };
    const Sequence sequences[] = {
        {{RenameMode::InsertFromFront, RenameMode::ReplaceText},
         true,
         "欲修改的文字：",
         InputMode::FreeText},
        {{RenameMode::InsertFromBack, RenameMode::AddSuffix, RenameMode::InsertFromFront},
         true,
         "增加文字的位置：",
         InputMode::IntegerOnly},
        {{RenameMode::ReplaceText, RenameMode::AddPrefix}, false, nullptr, InputMode::FreeText},
    };
    for (const Sequence& sequence : sequences) {
        SCOPED_TRACE(static_cast<int>(sequence.modes.back()));
        clickMode(sequence.modes.front());
        typeInto(secondaryEdit(), QStringLiteral("12"));
        ASSERT_EQ(secondaryEdit()->text(), QStringLiteral("12"));
        for (std::size_t i = 1; i < sequence.modes.size(); ++i) clickMode(sequence.modes[i]);
        EXPECT_TRUE(secondaryEdit()->text().isEmpty());
        EXPECT_EQ(secondaryEdit()->isVisible(), sequence.shown);
        EXPECT_EQ(label("SecondaryLabel")->isVisible(), sequence.shown);
        if (!sequence.shown) continue;
        EXPECT_EQ(label("SecondaryLabel")->text(), QString::fromUtf8(sequence.caption));
        EXPECT_EQ(secondaryEdit()->inputMode(), sequence.input);
        typeInto(secondaryEdit(), QStringLiteral("7b.-"));
        EXPECT_EQ(secondaryEdit()->text(), sequence.input == InputMode::FreeText
                                               ? QStringLiteral("7b.-")
                                               : QStringLiteral("7-"));
    }
}

}  // namespace
