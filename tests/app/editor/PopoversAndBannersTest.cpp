// The toolbar's popovers and the text banners: the sticker picker adds and remembers stickers, the face-cover
// button hands on the chosen cover and its first-use tip goes for good once dismissed, and the banners follow
// their timing rules.
#include "EditorViewFixture.h"

#include "app/design/DesignButton.h"
#include "app/design/DesignSegmented.h"
#include "app/editor/FaceCoverButton.h"
#include "app/editor/FaceCoverGuide.h"
#include "app/editor/StickerCell.h"
#include "app/editor/StickerPickerView.h"
#include "app/editor/TextBanner.h"
#include "app/editor/TextBannerRules.h"
#include "app/editor/TipBubble.h"
#include "core/model/FaceCover.h"
#include "core/stickers/EmojiCatalog.h"

#include <QClipboard>
#include <QMenu>

using namespace std::chrono_literals;

namespace lumivex::test {
namespace {

class Popovers : public EditorViewFixture {
protected:
    EditorView::Callbacks callbacks() override
    {
        EditorView::Callbacks c;
        c.onCoverFaces = [this](const FaceCover& cover) { m_covers.push_back(cover); };
        c.onCopyText = [this](const std::optional<Rect>& region) { m_textCopies += region ? 0 : 1; };
        return c;
    }
    StickerPickerView* openStickers()
    {
        QTest::mouseClick(view().toolbar()->stickerButton(), Qt::LeftButton);
        return view().stickerPicker();
    }
    std::vector<FaceCover> m_covers;
    int m_textCopies = 0;
};

TEST_F(Popovers, PickedStickersJoinTheDocumentAndTheRecentTab)
{
    StickerPickerView* picker = openStickers();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->size(), QSize(340, 380));
    EXPECT_EQ(picker->emptyText(), QStringLiteral("아직 사용한 스티커가 없습니다."));

    picker->setTab(StickerPickerView::Tab::emoji);
    picker->setCategory(1);
    const QStringList faces = EmojiCatalog::categories()[1].emojis;
    ASSERT_EQ(picker->cells().size(), faces.size());
    QTest::mouseClick(picker->cells()[2], Qt::LeftButton);
    ASSERT_EQ(doc().state().annotations.size(), 1u);
    EXPECT_EQ(doc().state().annotations[0].sticker->emojiText(), faces[2]);
    settle();
    EXPECT_EQ(view().stickerPicker(), nullptr) << "closes once a sticker is picked";

    picker = openStickers();
    ASSERT_NE(picker, nullptr);
    ASSERT_EQ(picker->tab(), StickerPickerView::Tab::recent);
    ASSERT_EQ(picker->cells().size(), 1);
    EXPECT_EQ(static_cast<StickerCell*>(picker->cells()[0])->source(), StickerSource::emoji(faces[2]));
}

TEST_F(Popovers, MyStickersComeFromTheClipboardAndGoFromTheirMenu)
{
    StickerPickerView* picker = openStickers();
    ASSERT_NE(picker, nullptr);
    picker->setTab(StickerPickerView::Tab::mine);
    EXPECT_TRUE(picker->emptyText().startsWith(QStringLiteral("PNG(투명 배경 권장) 같은 이미지를 추가하면\n")));

    QGuiApplication::clipboard()->setText(QStringLiteral("no picture"));
    picker->addFromClipboard();
    EXPECT_TRUE(m_stores.library.items().empty());

    QImage logo(64, 32, QImage::Format_ARGB32_Premultiplied);
    logo.fill(Qt::transparent);
    QGuiApplication::clipboard()->setImage(logo);
    QTest::mouseClick(picker->addFromClipboardButton(), Qt::LeftButton);
    ASSERT_EQ(m_stores.library.items().size(), 1u);
    ASSERT_EQ(picker->cells().size(), 1) << "the grid follows the library";
    EXPECT_EQ(picker->emptyText(), QString());
    EXPECT_TRUE(QFile::exists(m_stores.library.items()[0].path));

    const QString file = m_stores.library.items()[0].path;
    picker->removeMine(0);
    EXPECT_TRUE(m_stores.library.items().empty());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(picker->cells().isEmpty());
}

TEST_F(Popovers, FaceCoverMenuHandsOnTheChosenCover)
{
    QMenu* menu = view().faceCoverButton()->menu();
    QStringList items;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            items << action->text();
    EXPECT_EQ(items, (QStringList{"얼굴을 채운 타원으로 가리기", "얼굴 블러", "얼굴 모자이크", "랜덤 스티커로 가리기",
                                  "스티커로 가리기…", "사용법 보기…"}));
    for (int i = 0; i < 4; ++i)
        menu->actions()[i]->trigger();
    ASSERT_EQ(m_covers.size(), 4u);
    EXPECT_EQ(m_covers[0], FaceCover::filledEllipse());
    EXPECT_EQ(m_covers[1], FaceCover::blur(BlurStyle::gaussian));
    EXPECT_EQ(m_covers[2], FaceCover::blur(BlurStyle::pixelate));
    EXPECT_EQ(m_covers[3].stickers().size(), EmojiCatalog::randomFacePool().size());
    EXPECT_TRUE(doc().state().annotations.empty()) << "the window covers; the button only chooses";

    menu->actions()[4]->trigger();
    StickerPickerView* picker = view().faceCoverButton()->stickerPicker();
    ASSERT_NE(picker, nullptr);
    picker->setTab(StickerPickerView::Tab::emoji);
    QTest::mouseClick(picker->cells()[0], Qt::LeftButton);
    ASSERT_EQ(m_covers.size(), 5u);
    EXPECT_EQ(m_covers[4], FaceCover::sticker(StickerSource::emoji(EmojiCatalog::categories()[0].emojis[0])));
    EXPECT_TRUE(doc().state().annotations.empty());
}

TEST_F(Popovers, TheFaceCoverTipNeverReturnsOnceDismissed)
{
    FaceCoverButton* button = view().faceCoverButton();
    ASSERT_NE(button->bubble(), nullptr);
    EXPECT_TRUE(button->isPulsing());
    EXPECT_EQ(button->bubble()->text(), QStringLiteral("사진 속 얼굴을 한 번에 가려 보세요. 눌러서 사용법 보기"));

    QTest::mouseClick(button->bubble(), Qt::LeftButton);
    ASSERT_NE(button->guide(), nullptr);
    EXPECT_EQ(button->guide()->width(), 320);
    QTest::mouseClick(button->guide()->closeButton(), Qt::LeftButton);
    settle();
    EXPECT_NE(button->bubble(), nullptr) << "closing the guide keeps the tip";

    button->showGuide();
    QTest::mouseClick(button->guide()->dismissButton(), Qt::LeftButton);
    settle();
    EXPECT_EQ(button->bubble(), nullptr);
    EXPECT_FALSE(button->isPulsing());
    EXPECT_TRUE(m_stores.settings.faceCoverTipDismissed());

    // A new window over the same settings store never shows it again.
    CaptureSettings reread(m_stores.store);
    EXPECT_TRUE(reread.faceCoverTipDismissed());
    EditorView another(doc(), {}, m_scheduler, m_stores.stores());
    another.show();
    settle();
    EXPECT_EQ(another.faceCoverButton()->bubble(), nullptr);
    EXPECT_FALSE(another.faceCoverButton()->isPulsing());
}

class Banners : public Popovers {
protected:
    TextBannerRules& rules() { return view().bannerRules(); }
    QString shown()
    {
        settle();
        TextBanner* banner = view().banner();
        return banner ? banner->text() : QString();
    }
};

TEST_F(Banners, FoundTextIsOfferedUntilUsedClosedOrTwelveSecondsPass)
{
    rules().setFound(42);
    EXPECT_EQ(shown(), QStringLiteral("글자 42자를 찾았습니다"));
    m_scheduler.advance(11999ms);
    EXPECT_FALSE(shown().isEmpty());
    m_scheduler.advance(1ms);
    EXPECT_EQ(shown(), QString());

    // A fresh document's scan: copying from the banner hides it for good, the copy report takes its place.
    m_view.reset();
    m_view = std::make_unique<EditorView>(*m_doc, callbacks(), m_scheduler, m_stores.stores());
    m_view->show();
    rules().setFound(7);
    QTest::mouseClick(view().banner()->actionButton(), Qt::LeftButton);
    EXPECT_EQ(m_textCopies, 1);
    rules().setCopiedText(QStringLiteral("a b\nc"));
    EXPECT_EQ(shown(), QStringLiteral("텍스트 3자 복사됨"));
    QTest::mouseClick(view().banner()->closeButton(), Qt::LeftButton);
    EXPECT_EQ(shown(), QString()) << "the found-text offer does not come back";
}

TEST_F(Banners, CopiedTextStaysTenSecondsAfterTheLastCopyAndWhileTheHistoryIsOpen)
{
    rules().setCopiedText(QStringLiteral("first"));
    m_scheduler.advance(6s);
    rules().setCopiedText(QStringLiteral("second copy"));
    EXPECT_EQ(shown(), QStringLiteral("텍스트 10자 복사됨"));
    m_scheduler.advance(9s);
    EXPECT_FALSE(shown().isEmpty()) << "the first copy's timer no longer counts";
    m_scheduler.advance(1s);
    EXPECT_EQ(shown(), QString());

    rules().setCopiedText(QStringLiteral("third"));
    EXPECT_FALSE(shown().isEmpty()) << "each new copy shows it again";
    QTest::mouseClick(view().banner()->actionButton(), Qt::LeftButton); // 편집 opens the history
    EXPECT_TRUE(rules().historyOpen());
    m_scheduler.advance(30s);
    EXPECT_EQ(shown(), QStringLiteral("텍스트 5자 복사됨"));
}

} // namespace
} // namespace lumivex::test
