#pragma once

#include "SceneScript.h"

#include "host/raster/image/Image.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korvane::gdi::test {

// Replays a reference scene through the facade onto a fresh 32-bit memory DC.
class SceneRunner {
public:
    explicit SceneRunner(const SceneScript& script);
    ~SceneRunner();
    SceneRunner(const SceneRunner&) = delete;
    SceneRunner& operator=(const SceneRunner&) = delete;

    // Functions the replay does not serve; a scene using any of them cannot be compared.
    static std::vector<std::string> UnsupportedCalls(const SceneScript& script);

    void Run();
    raster::image::Image Result() const;
    // Disagreements with recorded results and region listings, one line each.
    const std::vector<std::string>& Problems() const { return m_problems; }

    class Call;
    // Replays one call; returns what GDI's recorded result is compared with, or nothing.
    using Handler = std::function<std::optional<long long>(Call&)>;

private:
    static const std::map<std::string, Handler>& Handlers();

    void CheckRegions(int afterCall);
    void Write(int afterCall);
    void* Handle(const std::string& text);
    long long Value(const std::string& text);
    void Problem(int line, const std::string& text);

    const SceneScript& m_script;
    std::map<std::string, void*> m_handles;
    std::vector<void*> m_objects; // made by the scene and still alive
    std::vector<void*> m_dcs;
    void* m_canvas = nullptr;
    std::vector<std::uint8_t> m_bits; // what the last GetBitmapBits read
    int m_bitsWidth = 0;              // of that bitmap when it is monochrome, else 0
    std::vector<std::string> m_problems;
};

}
