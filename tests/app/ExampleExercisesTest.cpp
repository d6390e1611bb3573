// The example exercises of data/: every member of the exercise format, in
// range, the entries their flow type fixes, and the vorticity number that
// the sub-simple shear example is named after.

#include "app/StrainAnalysis.h"
#include "tests/Separators.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <cmath>

namespace tensim {
namespace {

QJsonObject ReadExercise(const QString& Name)
{
    QFile file(QString(TENSIM_SOURCE_DIR) + "/data/" + Name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

// Four entries, each in [-2, 2].
TEntries Flow(const QJsonValue& Value)
{
    const QJsonArray array = Value.toArray();
    EXPECT_EQ(array.size(), 4);
    TEntries e{};
    for (int i = 0; i < 4 && i < array.size(); ++i) {
        EXPECT_TRUE(array[i].isDouble());
        e[i] = array[i].toDouble();
        EXPECT_LE(std::abs(e[i]), 2);
    }
    return e;
}

// The entries fixed by the flow type: simple shear sets only (1,2), pure and
// sub-simple shear have (2,2) = 1 / (1,1), pure shear no (1,2).
void ExpectFlowOfType(const TEntries& e, const QString& Type)
{
    EXPECT_EQ(e[2], 0);
    const bool simple = Type == "simpleShear", pure = Type == "pureShear";
    EXPECT_TRUE(!simple || (e[0] == 1 && e[3] == 1));
    EXPECT_TRUE(simple || e[3] == 1 / e[0]);
    EXPECT_TRUE(!pure || e[1] == 0);
}

void ExpectFlags(const QJsonObject& Object, const QStringList& Names)
{
    for (const QString& name : Names)
        EXPECT_TRUE(Object[name].isBool()) << name.toStdString();
}

TEST(ExampleExercises, HoldEveryMemberOfTheFormat)
{
    const struct {
        const char* File;
        const char* FlowType;
    } examples[] = {{"cizalla_simple.tensim", "simpleShear"},
                    {"cizalla_subsimple_wk08.tensim", "subSimpleShear"},
                    {"poblacion_marcadores.tensim", "pureShear"}};
    for (const auto& example : examples) {
        SCOPED_TRACE(example.File);
        const QJsonObject e = ReadExercise(example.File);
        EXPECT_EQ(e["format"].toString(), "tensim-exercise");
        EXPECT_EQ(e["version"].toInt(), 1);
        EXPECT_EQ(e["flowType"].toString(), example.FlowType);
        ExpectFlowOfType(Flow(e["flow"]), example.FlowType);
        EXPECT_EQ(e["rotationDegrees"].toDouble(-1), 0);
        int total = 0;
        for (const QJsonValue& click : e["increments"].toArray()) {
            ExpectFlowOfType(Flow(click["flow"]), example.FlowType);
            EXPECT_EQ(click["rotationDegrees"].toDouble(-1), 0);
            EXPECT_TRUE(click["count"].toInt(-1) >= 1 && click["count"].toInt() <= 1000);
            total += click["count"].toInt();
        }
        EXPECT_GT(total, 0);
        ExpectFlags(e["visible"].toObject(),
                    {"ellipse", "axes", "triangle", "markers", "velocityField", "elongationFields",
                     "apophyses", "stretchingAxes"});
        const QJsonObject charts = e["charts"].toObject();
        EXPECT_TRUE(charts["tab"].toInt(-1) >= 0 && charts["tab"].toInt() <= 2);
        ExpectFlags(charts, {"stretch", "inclination", "flowMohr", "strainMohr", "rfPhi", "polar"});
        EXPECT_TRUE(e["markers"]["seed"].isDouble());
    }
    // The population example shows its markers and their Rf/phi charts.
    const QJsonObject population = ReadExercise("poblacion_marcadores.tensim");
    EXPECT_TRUE(population["visible"]["markers"].toBool());
    EXPECT_EQ(population["charts"]["tab"].toInt(), 2);
}

TEST(ExampleExercises, SubSimpleShearReadsWkPointEight)
{
    const Separators comma(",", ".");
    const TEntries flow = Flow(ReadExercise("cizalla_subsimple_wk08.tensim")["flow"]);
    EXPECT_EQ(ReadoutTexts({}, KinematicVorticity(flow)).Vorticity, "Wk = 0,8000");
}

} // namespace
} // namespace tensim
