#include "capture/capture_window.h"

#include "capture/capture_session.h"

namespace {

class CaptureWindow : public Window {
public:
    explicit CaptureWindow(CaptureSession& s) : session(s) {}
    void attachConsole(int, int, bool) override {}
    void present(const std::uint32_t* pixels, int width, int height, int pitch) override {
        session.present(pixels, width, height, pitch);
    }

protected:
    void pumpEvents() override {
        if (session.finished() && !closeRequested) {
            closeRequested = true;
            postMessage({MessageKind::Close, 0});
        }
    }

private:
    CaptureSession& session;
    bool closeRequested = false;
};

} // namespace

std::unique_ptr<Window> createCaptureWindow(CaptureSession& session) {
    return std::make_unique<CaptureWindow>(session);
}
