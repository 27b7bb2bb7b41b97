#pragma once

// The start/pause key on digital input 1 (1 at rest, 0 while pressed), read
// every 100 ms poll: a short press starts the job, holding it for a second
// turns the feeder shafts until it is released.
class StartButton
{
public:
    enum class Event { None, Pressed, ShaftsStart, ShaftsStop };

    Event poll(int input);

private:
    int m_count = 0;
    bool m_first = true;
    bool m_previous = true;
};
