// The toolbar: tool buttons choose and show the tool, the lock flips the sticky tool, commands reach the window.
#include "EditorViewFixture.h"

#include "app/editor/IconButton.h"
#include "app/editor/ToolButton.h"

namespace lumivex::test {
namespace {

class Toolbar : public EditorViewFixture {
protected:
    EditorView::Callbacks callbacks() override
    {
        EditorView::Callbacks c;
        c.onSave = [this] { m_calls << QStringLiteral("save"); };
        c.onCopy = [this] { m_calls << QStringLiteral("copy"); };
        c.onCopyText = [this](const std::optional<Rect>& region) {
            m_calls << (region ? QStringLiteral("copy region") : QStringLiteral("copy all text"));
        };
        return c;
    }
    ToolbarView& toolbar() { return *view().toolbar(); }
    QStringList m_calls;
};

TEST_F(Toolbar, EachToolButtonChoosesItsToolAndAloneShowsSelected)
{
    for (const Tool tool : Tools::allCases) {
        QTest::mouseClick(toolbar().toolButton(tool), Qt::LeftButton);
        EXPECT_EQ(doc().tool(), tool);
        for (const Tool other : Tools::allCases)
            EXPECT_EQ(toolbar().toolButton(other)->isSelected(), other == tool) << Tools::rawValue(other).toStdString();
    }
    doc().setTool(Tool::blur); // by key or menu: the toolbar follows
    EXPECT_TRUE(toolbar().toolButton(Tool::blur)->isSelected());
    EXPECT_EQ(toolbar().toolButton(Tool::arrow)->toolTip(), QStringLiteral("화살표 (A, 2)"));
    EXPECT_EQ(toolbar().toolButton(Tool::select)->toolTip(), QStringLiteral("선택 (V)"));
}

TEST_F(Toolbar, LockFlipsTheStickyToolAndSaysWhichWay)
{
    ASSERT_TRUE(doc().stickyTool());
    QTest::mouseClick(toolbar().lockButton(), Qt::LeftButton);
    EXPECT_FALSE(doc().stickyTool());
    EXPECT_TRUE(toolbar().lockButton()->toolTip().startsWith(QStringLiteral("도구 유지 (꺼짐)")));
    QTest::mouseClick(toolbar().lockButton(), Qt::LeftButton);
    EXPECT_TRUE(doc().stickyTool());
    EXPECT_TRUE(toolbar().lockButton()->toolTip().startsWith(QStringLiteral("도구 유지 (켜짐)")));
}

TEST_F(Toolbar, CommandButtonsCallBackIntoTheWindow)
{
    for (IconButton* button : {toolbar().copyButton(), toolbar().saveButton(), toolbar().copyTextButton()})
        QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(m_calls, (QStringList{QStringLiteral("copy"), QStringLiteral("save"), QStringLiteral("copy all text")}));
    EXPECT_EQ(toolbar().copyButton()->toolTip(), QStringLiteral("클립보드로 복사 (Ctrl+C 또는 Ctrl+Shift+C)"));
}

} // namespace
} // namespace lumivex::test
