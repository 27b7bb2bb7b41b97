#include "machine/StartButton.h"

StartButton::Event StartButton::poll(int input)
{
    Event event = Event::None;
    if (m_first) {
        m_previous = input != 0;
        m_first = false;
    }
    if (input != 1) {
        if (m_count <= 9) {
            ++m_count;
            if (m_count == 10) {
                event = Event::ShaftsStart;
                ++m_count;
            }
        }
    } else {
        if (!m_previous)
            event = m_count <= 9 ? Event::Pressed : Event::ShaftsStop;
        m_count = 0;
    }
    m_previous = input != 0;
    return event;
}
