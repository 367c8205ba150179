#pragma once
// A platform for the 3D view that draws nothing and writes down what it was
// asked to do, in order.
#include <memory>
#include <string>
#include <vector>

#include "model/errors.h"
#include "preview3d/view3d.h"

namespace facetor::testing {

struct RenderLog {
    std::vector<std::string> calls;
    std::vector<SceneSnapshot> drawn;
};

class RecordingBackend final : public RenderBackend {
  public:
    explicit RecordingBackend(RenderLog& log) : log_(log) {}
    void clear() override { log_.calls.push_back("clear"); }
    void draw(const SceneSnapshot& scene) override
    {
        log_.calls.push_back("draw");
        log_.drawn.push_back(scene);
    }
    void update() override { log_.calls.push_back("update"); }

  private:
    RenderLog& log_;
};

class FakePlatform final : public View3DPlatform {
  public:
    RenderLog log;
    bool has_device = true;
    bool surface_present = true;
    bool hardware_device = true;
    int width = 200;
    int height = 100;
    int devices_made = 0;

    std::unique_ptr<RenderBackend> create_device(int, int) override
    {
        if (!has_device) {
            throw RuntimeError(k_no_device_text);
        }
        ++devices_made;
        return std::make_unique<RecordingBackend>(log);
    }
    int surface_width() const override { return width; }
    int surface_height() const override { return height; }
    bool hardware() const override { return hardware_device; }
    bool surface_ready() override { return surface_present; }
    void flip() override { log.calls.push_back("flip"); }
};

} // namespace facetor::testing
