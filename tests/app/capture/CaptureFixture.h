#pragma once

#include "app/capture/CaptureCoordinator.h"
#include "app/capture/CaptureOverlayView.h"
#include "app/capture/CaptureOverlayWindow.h"
#include "app/platform/NullCaptureBackend.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace lumivex::test {

// A picture whose every pixel carries its own coordinates, so a crop can be traced back to where it came from.
QImage coordinateImage(int width, int height);
uint32_t coordinateAt(int x, int y);

// Two displays side by side without a display server: the left one at 2 pixels per point (640 × 400 points,
// 1280 × 800 pixels), the right one at 1 (640 × 400), both frozen as coordinate pictures. The coordinator runs
// on the Null backend; results, failures and ends are collected.
class CaptureFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts an overlay capture and waits until its overlays are up.
    CaptureSession* open(CaptureSession::Mode mode);
    CaptureOverlayView* view(int index) const;
    static bool waitFor(const std::function<bool()>& condition);

    void drag(CaptureOverlayView* view, QPoint from, QPoint to);
    void press(CaptureOverlayView* view, Qt::Key key, Qt::KeyboardModifiers modifiers = {});

    NullCaptureBackend m_backend;
    std::unique_ptr<CaptureCoordinator> m_coordinator;
    std::vector<CaptureResult> m_results;
    std::vector<CaptureError> m_failures;
    std::vector<bool> m_ends;
};

} // namespace lumivex::test
