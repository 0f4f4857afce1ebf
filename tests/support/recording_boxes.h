#pragma once
// Stand-ins for the boxes and the save-file dialog, for window tests. Each
// installs itself for its lifetime and restores the previous service after.
//
//   RecordingBoxes boxes;
//   boxes.whileOpen = [&](const BoxRequest&) { EXPECT_FALSE(page.IsDlgItemEnabled(1024)); };
//   ...click...
//   ASSERT_EQ(boxes.texts(), std::vector<std::string>{"生成成功！"});
#include "platform/boxes.h"
#include "platform/save_file.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class RecordingBoxes : public BoxService {
public:
    RecordingBoxes() : previous_(BoxService::install(this)) {}
    ~RecordingBoxes() override { BoxService::install(previous_); }
    RecordingBoxes(const RecordingBoxes&) = delete;
    RecordingBoxes& operator=(const RecordingBoxes&) = delete;

    // Runs while the box is "open", before show() returns (the dismissal).
    std::function<void(const BoxRequest&)> whileOpen;
    std::vector<BoxRequest> shown;

    void show(const BoxRequest& box) override
    {
        shown.push_back(box);
        if (whileOpen)
            whileOpen(box);
    }
    // The texts shown so far (UTF-8), in order.
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const BoxRequest& b : shown)
            out.push_back(b.text);
        return out;
    }

private:
    BoxService* previous_;
};

// Answers save-file questions from a queue; an empty queue means "cancelled".
class ScriptedSaveDialog : public SaveFileService {
public:
    ScriptedSaveDialog() : previous_(SaveFileService::install(this)) {}
    ~ScriptedSaveDialog() override { SaveFileService::install(previous_); }
    ScriptedSaveDialog(const ScriptedSaveDialog&) = delete;
    ScriptedSaveDialog& operator=(const ScriptedSaveDialog&) = delete;

    std::deque<std::optional<SaveTarget>> answers;
    int asked = 0;
    std::string lastSuggestedName;

    std::optional<SaveTarget> ask(HWND, const std::string&, const std::string& suggestedName) override
    {
        ++asked;
        lastSuggestedName = suggestedName;
        std::optional<SaveTarget> a;
        if (!answers.empty()) {
            a = std::move(answers.front());
            answers.pop_front();
        }
        return a;
    }

private:
    SaveFileService* previous_;
};
