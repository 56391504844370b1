#pragma once

#include "PngFiles.h"
#include "SceneScript.h"

#include <map>
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
    RgbImage Result() const;
    // Disagreements with recorded results and region listings, one line each.
    const std::vector<std::string>& Problems() const { return m_problems; }

private:
    void Execute(const SceneCall& call);
    void CheckRegions(int afterCall);
    void WritePixels(int afterCall);
    void Check(const SceneCall& call, long long actual);
    void* Handle(const std::string& text);
    long long Value(const SceneArgument& argument);
    int Int(const SceneCall& call, std::size_t index);

    const SceneScript& m_script;
    std::map<std::string, void*> m_handles;
    std::vector<void*> m_created;
    std::vector<void*> m_dcs;
    void* m_canvas = nullptr;
    std::vector<std::string> m_problems;
};

}
