#pragma once

#include <QString>

// The verdict lines of a device programmer on two digital inputs (success and
// error), read once per status poll. A rising success input reports success,
// a rising error input an error; the error wins when both change together.
class ProgrammerInputs
{
public:
    struct Events
    {
        bool errorPinChanged = false;
        bool successPinChanged = false;
        int errorPin = 0;
        int successPin = 0;
        QString result;   // "success", "error" or empty
    };

    Events update(int success, int error);

private:
    int m_success = 0;
    int m_error = 0;
};
