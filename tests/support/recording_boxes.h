#pragma once
// Stand-ins for the boxes and the save-file dialog, for window tests. Each
// installs itself for its lifetime and restores the previous service after.
//
//   RecordingBoxes boxes;
//   boxes.whileOpen = [&](const BoxRequest&) { EXPECT_FALSE(page.IsDlgItemEnabled(1024)); };
//   ...click...
//   ASSERT_EQ(boxes.shown.size(), 1u); EXPECT_EQ(boxes.shown[0].kind, BoxKind::Plain);
#include "platform/dialog/boxes.h"
#include "platform/dialog/save_file.h"

#include <QPointer>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class RecordingBoxes : public BoxService {
public:
    struct Shown {
        QPointer<QWidget> owner;
        QWidget* ownerAddress; // stays comparable after the owner is gone
        BoxKind kind;
        QString caption;
        QString text;
    };

    RecordingBoxes() : previous_(BoxService::install(this)) {}
    ~RecordingBoxes() override { BoxService::install(previous_); }
    RecordingBoxes(const RecordingBoxes&) = delete;
    RecordingBoxes& operator=(const RecordingBoxes&) = delete;

    // Runs while the box is "open", before show() returns (the dismissal).
    std::function<void(const BoxRequest&)> whileOpen;
    std::vector<Shown> shown;

    void show(const BoxRequest& box) override
    {
        shown.push_back({box.owner, box.owner, box.kind, box.caption, box.text});
        if (whileOpen)
            whileOpen(box);
    }
    QStringList texts() const
    {
        QStringList out;
        for (const Shown& s : shown)
            out << s.text;
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
    QString lastCaption;
    QString lastSuggestedName;

    std::optional<SaveTarget> ask(QWidget*, const QString& caption, const QString& suggestedName) override
    {
        ++asked;
        lastCaption = caption;
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
