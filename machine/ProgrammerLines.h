#pragma once

#include <QString>
#include <QStringList>

// The device programmer's verdict on motion digital inputs 10 (success) and
// 11 (error), read in every status poll.
class ProgrammerLines
{
public:
    struct Events
    {
        bool errorChanged = false;
        bool successChanged = false;
        QString result; // "success", "error" or empty
    };

    Events poll(int success, int error);

private:
    int m_success = 0;
    int m_error = 0;
};
