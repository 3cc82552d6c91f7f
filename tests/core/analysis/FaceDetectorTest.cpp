#include "support/AnnotationBuilders.h"
#include "support/FacePhotos.h"
#include "support/InterfaceScreenshot.h"
#include "core/analysis/FaceDetector.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace lumivex;

namespace {

// ---------------------------------------------------------------- tiles and merging

std::vector<double> distinct(const std::vector<Rect>& tiles, double Rect::*field, double size)
{
    std::set<double> values;
    for (const Rect& tile : tiles) {
        if (tile.width == size || tile.height == size)
            values.insert(tile.*field);
    }
    return {values.begin(), values.end()};
}

TEST(FaceDetectorTiles, SizesHalveDownTo120AndOverlapByHalf)
{
    const auto tiles = FaceDetector::tileRegions(1000, 800);
    ASSERT_EQ(tiles.size(), 439u); // 3 x 3 + 7 x 6 + 15 x 12 + 16 x 13
    // Made whole-pixel, a tile of 125 starting at 62.5 spans 62 to 188.
    const auto count = [&](double size) {
        return std::count_if(tiles.begin(), tiles.end(), [&](const Rect& t) { return t.width == size || t.width == size + 1; });
    };
    EXPECT_EQ(count(500), 9);
    EXPECT_EQ(count(250), 42);
    EXPECT_EQ(count(125), 180);
    EXPECT_EQ(count(120), 208);
    EXPECT_EQ(distinct(tiles, &Rect::x, 500), (std::vector<double>{0, 250, 500}));
    EXPECT_EQ(distinct(tiles, &Rect::y, 500), (std::vector<double>{0, 250, 300}));
    // Column by column: x outer, y inner.
    EXPECT_EQ(tiles[0], (Rect{0, 0, 500, 500}));
    EXPECT_EQ(tiles[1], (Rect{0, 250, 500, 500}));
    EXPECT_EQ(tiles[2], (Rect{0, 300, 500, 500}));
    EXPECT_EQ(tiles[3], (Rect{250, 0, 500, 500}));

    const auto small = FaceDetector::tileRegions(200, 150);
    ASSERT_EQ(small.size(), 6u);
    EXPECT_TRUE(std::all_of(small.begin(), small.end(), [](const Rect& t) { return t.width == 120 && t.height == 120; }));
    EXPECT_EQ(small.back(), (Rect{80, 30, 120, 120}));
    EXPECT_TRUE(FaceDetector::tileRegions(100, 100).empty());

    // 1920 x 1080: 960, 480, 240 and 120.
    EXPECT_EQ(FaceDetector::tileRegions(1920, 1080).size(), 681u); // 3 x 2 + 7 x 4 + 15 x 8 + 31 x 17
    // 7680 x 4320 would need 2,205 more tiles of 240 after 681: that size and every smaller one is left out.
    const auto eightK = FaceDetector::tileRegions(7680, 4320);
    EXPECT_EQ(eightK.size(), 681u);
    EXPECT_EQ(eightK.back().width, 480);
}

TEST(FaceDetectorMerge, KeepsTheLargerOfTwoDetectionsOfOneFace)
{
    const Rect face{100, 100, 80, 80};
    const Rect closeUp{110, 110, 50, 50};   // the same face at another scale, inside: IoU 0.39
    const Rect eyes{115, 120, 40, 20};      // inside as well, IoU only 0.125: the smaller-share rule
    const Rect shifted{144, 100, 80, 80};   // IoU 36 / 124 = 0.29, 45 % of either: another face
    const Rect apart{400, 50, 30, 30};
    EXPECT_EQ(FaceDetector::merge({closeUp, eyes, apart, face, shifted}), (std::vector<Rect>{face, shifted, apart}));
    // Equal areas keep their order; an IoU of 0.39 (56 % of each) makes a duplicate.
    const Rect overlapping{135, 100, 80, 80};
    const Rect sideBySide{164, 100, 80, 80};
    EXPECT_EQ(FaceDetector::merge({overlapping, face}), std::vector<Rect>{overlapping});
    EXPECT_EQ(FaceDetector::merge({face, sideBySide}), (std::vector<Rect>{face, sideBySide}));
}

// ---------------------------------------------------------------- real photographs

using test::sameFace;

test::FaceScore score(const std::vector<Rect>& detected, const std::vector<Rect>& labelled)
{
    const test::FaceScore s = test::scoreFaces(detected, labelled);
    EXPECT_EQ(s.reportedTwice, 0) << "a face was reported twice";
    return s;
}

std::vector<test::LabelledPhoto> labelledPhotos()
{
    auto photos = test::dlibLabelledPhotos();
    for (const auto& photo : photos)
        EXPECT_FALSE(photo.image.isNull()) << photo.path.toStdString();
    return photos;
}

#define REQUIRE_PACKAGE(condition, package) \
    if (!(condition)) \
        GTEST_SKIP() << "the test photographs of " package " are not installed (apt-get install " package ")"

TEST(FaceDetectorPhotos, FindsEveryLabelledFaceInGroupPhotos)
{
    const auto photos = labelledPhotos();
    REQUIRE_PACKAGE(!photos.empty(), "libdlib-dev");
    int faces = 0;
    for (const auto& photo : photos) {
        const auto detection = FaceDetector::detectFaces(photo.image, true);
        ASSERT_FALSE(detection.error.has_value());
        const test::FaceScore s = score(detection.faces, photo.faces);
        EXPECT_TRUE(s.missed.empty()) << photo.path.toStdString() << " missed " << testing::PrintToString(s.missed);
        EXPECT_TRUE(s.unlabelled.empty()) << photo.path.toStdString() << " also found " << testing::PrintToString(s.unlabelled);
        faces += int(photo.faces.size());
    }
    EXPECT_EQ(faces, 43);
}

TEST(FaceDetectorPhotos, FindsTheOneFaceOfPortraits)
{
    const QString astronaut = test::astronautPhoto();
    const QString footballer = test::footballerPhoto();
    REQUIRE_PACKAGE(!astronaut.isEmpty(), "python3-skimage");
    REQUIRE_PACKAGE(!footballer.isEmpty(), "opencv-doc");
    struct Portrait {
        QString path;
        Rect face; // by eye: forehead to chin, ear to ear
    };
    for (const Portrait& portrait : {Portrait{astronaut, {175, 75, 95, 105}}, Portrait{footballer, {222, 88, 45, 45}}}) {
        const QImage image(portrait.path);
        ASSERT_FALSE(image.isNull());
        const auto detection = FaceDetector::detectFaces(image, true);
        ASSERT_EQ(detection.faces.size(), 1u) << portrait.path.toStdString() << testing::PrintToString(detection.faces);
        EXPECT_TRUE(sameFace(detection.faces.front(), portrait.face)) << testing::PrintToString(detection.faces);
        // Any pixel layout gives the same faces.
        EXPECT_EQ(FaceDetector::detectFaces(image.convertToFormat(QImage::Format_RGB888), true).faces, detection.faces);
    }
}

TEST(FaceDetectorPhotos, SmallFacesInAScreenshotNeedTheTiles)
{
    const auto photos = labelledPhotos();
    REQUIRE_PACKAGE(!photos.empty(), "libdlib-dev");
    // Two screenshots, so that every photo fits with its faces between 30 and 60 pixels.
    const std::vector<test::LabelledPhoto> halves[] = {{photos.begin(), photos.begin() + 5}, {photos.begin() + 5, photos.end()}};
    int faces = 0;
    for (const auto& half : halves) {
        const test::InterfaceScreenshot screenshot(half, 30, 60);
        const auto thorough = FaceDetector::detectFaces(screenshot.image(), true);
        const test::FaceScore s = score(thorough.faces, screenshot.faces());
        EXPECT_TRUE(s.unlabelled.empty()) << "also found " << testing::PrintToString(s.unlabelled);
        EXPECT_EQ(score(FaceDetector::detectFaces(screenshot.image(), false).faces, screenshot.faces()).found, 0);
        faces += int(screenshot.faces().size());
        EXPECT_TRUE(s.missed.empty()) << "missed " << testing::PrintToString(s.missed);
    }
    EXPECT_EQ(faces, 43);
}

TEST(FaceDetector, FindsNoFaceInAnInterfaceOrInNothing)
{
    const auto detection = FaceDetector::detectFaces(test::InterfaceScreenshot::faceless(), true);
    EXPECT_TRUE(detection.faces.empty()) << testing::PrintToString(detection.faces);
    EXPECT_FALSE(detection.error.has_value());
    EXPECT_TRUE(FaceDetector::detectFaces(QImage(), true).faces.empty());
    EXPECT_TRUE(FaceDetector::detectFaces(QImage(1, 1, QImage::Format_Mono), true).faces.empty());
}

} // namespace
