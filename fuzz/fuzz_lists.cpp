// Fuzz target of the list readers: placement lists, BOMs, the stored day
// statistics and project log lines. The first byte chooses the reader and
// its settings; the rest is the file.
//
// Built with clang's libFuzzer; run by hand for longer, e.g.
//   build/fuzz/fuzz_list_readers -max_total_time=600 build/fuzz/corpus tests/fixtures/cad
#include "backend/BomList.h"
#include "backend/PlacementList.h"
#include "backend/ProjectStatistics.h"
#include "backend/TextTable.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t choice = data[0];
    const uint8_t columns = data[1];
    const QString text = TextTable::decode(QByteArray(reinterpret_cast<const char *>(data + 2), int(size - 2)));
    static const char separators[] = {' ', ',', ';', '|', '\t'};
    switch (choice % 4) {
    case 0: {
        PlacementList::Settings s;
        s.separator = QLatin1Char(separators[columns % 5]);
        s.packCol = (columns >> 3) % 17;
        s.xCol = 3 + (columns >> 5) % 3;
        s.sideEnabled = choice & 0x10;
        s.side = (choice >> 5) & 1;
        s.sideInverse = (choice >> 6) & 1;
        s.commentCol = (choice >> 2) % 18;
        const PlacementList::Result r = PlacementList::read(text, s, {{"L", 0, "0603", "10k"}, {"B", 1, "", ""}});
        int lines = 0;
        for (const PlacementList::Group &g : r.groups) {
            lines += g.lines.size();
            g.designators();
        }
        if (lines != r.accepted)
            __builtin_trap();
        break;
    }
    case 1: {
        BomList::Settings s;
        s.separator = QLatin1Char(separators[columns % 5]);
        s.packCol = (columns >> 3) % 4;
        s.countCol = (columns >> 5) % 12;
        BomList::read(text, s);
        break;
    }
    case 2: {
        const auto days = ProjectStatistics::parseDayStat(text);
        // What was read is written back the same way.
        if (ProjectStatistics::parseDayStat(ProjectStatistics::formatDayStat(days)).size() != days.size())
            __builtin_trap();
        ProjectStatistics::exportText(days, text.left(20));
        break;
    }
    default: {
        for (const QString &line : TextTable::lines(text)) {
            ProjectStatistics::LogEntry e;
            if (ProjectStatistics::parseLogLine(line, &e)) {
                ProjectStatistics::LogEntry back;
                if (!ProjectStatistics::parseLogLine(ProjectStatistics::formatLogLine(e), &back)
                    || back.message != e.message || back.time != e.time || back.color != e.color)
                    __builtin_trap();
            }
        }
        break;
    }
    }
    return 0;
}
