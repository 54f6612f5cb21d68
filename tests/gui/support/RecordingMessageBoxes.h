#pragma once

#include <deque>
#include <vector>

#include <QString>

#include "dialogs/MessageBoxes.h"

namespace parvane::test {

// Message boxes that a test answers: every box is recorded in the order shown, and confirm()
// takes its answers from `answers` (OK when none is left).
class RecordingMessageBoxes final : public dialogs::MessageBoxes
{
public:
    struct Box
    {
        QString title;
        QString text;
        bool withCancel = false; // shown by confirm()
    };

    void information(QWidget* /*parent*/, const QString& title, const QString& text) override
    {
        boxes.push_back(Box{title, text, false});
    }

    bool confirm(QWidget* /*parent*/, const QString& title, const QString& text) override
    {
        boxes.push_back(Box{title, text, true});
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Box> boxes;
    std::deque<bool> answers;
};

} // namespace parvane::test
