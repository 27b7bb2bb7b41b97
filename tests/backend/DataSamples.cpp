#include "DataSamples.h"

#include "backend/FeederFile.h"

ProjectFile::Data sampleProject()
{
    ProjectFile::Data d;
    d.device = {{"workAreaX1", 1.5}, {"workAreaX2", 401.0}, {"workAreaY1", 2.0}, {"workAreaY2", 302.5}};
    d.feederBanks = {"file:///p/Нижний.bottomFeeders", "file:///p/a b.leftFeeders", "", "file:///p/r.rightFeeders"};
    // Every board key with a value other than its default.
    for (const ProjectFile::Key &key : ProjectFile::pcbKeys()) {
        QVariant v;
        switch (key.def.type()) {
        case QVariant::Bool: v = !key.def.toBool(); break;
        case QVariant::Int: v = key.def.toInt() + 7; break;
        case QVariant::Double: v = key.def.toDouble() + 0.125; break;
        case QVariant::String: v = QStringLiteral("file:///p/плата 1.png"); break;
        default: v = QStringLiteral("photo-data"); break;
        }
        d.pcb.insert(QLatin1String(key.name), v);
    }
    d.panel = {{10, 20, 0}, {110.5, 20, 90}, {10, 140, -90}, {110, 140, 180}};
    for (int i = 0; i < 3; ++i) {
        d.refs.append({{"rX", 5.0 + i}, {"rY", 6.25 * i}, {"disabled", i == 1 ? 1 : 0}, {"indiv", i == 2},
                       {"type", i % 2}, {"size", 1.2}, {"size2", 0.8}, {"inv", true}, {"roi", 40 + i},
                       {"templateMathCoeff", 75}, {"t1", 140}, {"t2", 90}, {"photo", QString()}, {"id", 101 + i}});
    }
    const char *designators[] = {"R1", "C12", "U3; main", "D\"4\"", ""};
    for (int i = 0; i < 5; ++i) {
        d.elements.append({{"pack", i == 2 ? "SOIC-8" : "0603"}, {"partNumber", QString("PN,%1").arg(i)},
                           {"model", QString("LRBUL").mid(i, 1)}, {"index", i - 1}, {"rX", 10.123 + i},
                           {"rY", -3.5 + i}, {"angle", -90.0 + 45 * i}, {"disabled", i == 4 ? 2 : 0},
                           {"designator", QString::fromUtf8(designators[i])}, {"preferredRef1", i == 0 ? 101 : -1},
                           {"preferredRef2", i == 0 ? 102 : -1}, {"elPhoto", QString()},
                           {"elementPath", "file:///base/0603(A1.6B0.8H0.45).png"}});
    }
    d.dots.append({{"model", "U"}, {"index", 2}, {"rX", 1.5}, {"rY", 2.5}, {"disabled", 0},
                   {"preferredRef1", -1}, {"preferredRef2", 103}});
    d.log = QStringList{"Проект открыт;06.12.2026 10:00:00;white", "Ошибка: a, b; c;06.12.2026 10:01:00;red"};
    d.dayStat = "06.12.2026;1;20;40;0;600|05.12.2026;3;60;120;1;1800|";
    return d;
}

QVariantMap sampleFeeder(int i)
{
    QVariantMap f;
    for (const FeederFile::Field &field : FeederFile::fields()) {
        switch (field.type) {
        case FeederFile::FieldType::Int: f.insert(field.name, 3 + i + field.name.size()); break;
        case FeederFile::FieldType::Real: f.insert(field.name, 0.25 + i + field.name.size()); break;
        case FeederFile::FieldType::Bool: f.insert(field.name, (i + field.name.size()) % 2 == 0); break;
        case FeederFile::FieldType::String: f.insert(field.name, field.name + QString(", текст %1; x").arg(i)); break;
        case FeederFile::FieldType::Image: f.insert(field.name, QString()); break;
        }
    }
    f.insert("pack", i == 1 ? "SOT23" : "0603");
    return f;
}
