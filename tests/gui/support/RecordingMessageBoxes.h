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
        QString text;
    };

    void information(QWidget* /*parent*/, const QString& /*title*/, const QString& text) override
    {
        boxes.push_back(Box{text});
    }

    bool confirm(QWidget* /*parent*/, const QString& /*title*/, const QString& text) override
    {
        boxes.push_back(Box{text});
        const bool answer = answers.empty() || answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }

    std::vector<Box> boxes;
    std::deque<bool> answers;
};

} // namespace parvane::test
