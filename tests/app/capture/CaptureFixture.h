#pragma once

#include "app/capture/CaptureCoordinator.h"
#include "app/capture/CaptureOverlayView.h"
#include "app/capture/CaptureOverlayWindow.h"
#include "app/platform/X11CaptureBackend.h"
#include "support/TestCaptureBackend.h"
#include "support/XServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace lumivex::test {

// Pixels that carry their own coordinates, so a crop can be traced back to where it came from.
uint32_t coordinateAt(int x, int y);
QImage coordinateImage(int width, int height);

// An X11 backend on the test server whose every monitor has this many pixels per point.
std::unique_ptr<X11CaptureBackend> x11Backend(const XServer& server, double scale = 1, bool sharedMemory = true);

// Two displays side by side on the test backend: the left at 2 pixels per point (640 × 400 points), the right
// at 1 (640 × 400), both frozen as coordinate pictures; results, failures and ends are collected.
class CaptureFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts an overlay capture and waits until its overlays are up.
    CaptureSession* open(CaptureSession::Mode mode);
    CaptureOverlayView* view(int index) const;
    static bool waitFor(const std::function<bool()>& condition);
    static void drag(CaptureOverlayView* view, QPoint from, QPoint to);

    TestCaptureBackend m_backend;
    std::unique_ptr<CaptureCoordinator> m_coordinator;
    std::vector<CaptureResult> m_results;
    std::vector<CaptureError> m_failures;
    std::vector<bool> m_ends;
};

} // namespace lumivex::test
