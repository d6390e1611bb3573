#include "app/Exercise.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tensim {

namespace {

const char* const FormatName = "tensim-exercise";
const char* const FlowTypeNames[] = {"simpleShear", "pureShear", "subSimpleShear", "generalShear",
                                     "rigidRotation"};
const char* const VisibleNames[VisibleShapeCount] = {
    "ellipse",          "axes",      "triangle",      "markers", "velocityField",
    "elongationFields", "apophyses", "stretchingAxes"};
const char* const ChartNames[ChartBoxCount] = {"stretch",    "inclination", "flowMohr",
                                               "strainMohr", "rfPhi",       "polar"};
// The rigid rotation's step is an integer spin value.
constexpr double MinRotationDegrees = std::numeric_limits<int32_t>::min();
constexpr double MaxRotationDegrees = std::numeric_limits<int32_t>::max();
// The finite panel's window never grows beyond what a double holds.
constexpr double MaxWindowCoordinate = std::numeric_limits<double>::max();

QJsonArray Numbers(std::initializer_list<double> Values)
{
    QJsonArray array;
    for (double v : Values)
        array.append(v);
    return array;
}

QJsonArray EntriesJson(const TEntries& E)
{
    return Numbers({E[0], E[1], E[2], E[3]});
}

// Reads the members of a file's object, and keeps the first problem met in
// Spanish; every read after it gives a default value.
class TReader {
public:
    QString Error;

    bool Failed() const { return !Error.isEmpty(); }

    QJsonValue Member(const QJsonObject& Object, const QString& Path, const char* Name)
    {
        const QJsonValue value = Object.value(QLatin1String(Name));
        if (value.isUndefined())
            Fail(QCoreApplication::translate("TExercise", "Falta el dato «%1».")
                     .arg(Join(Path, Name)));
        return value;
    }

    QJsonObject Object(const QJsonValue& Value, const QString& Path)
    {
        if (!Failed() && !Value.isObject())
            Fail(QCoreApplication::translate("TExercise", "El dato «%1» debe ser un objeto { }.")
                     .arg(Path));
        return Value.toObject();
    }

    QJsonArray Array(const QJsonValue& Value, const QString& Path, qsizetype Min, qsizetype Max)
    {
        if (Failed()) return {};
        if (!Value.isArray()) {
            Fail(QCoreApplication::translate("TExercise", "El dato «%1» debe ser una lista [ ].")
                     .arg(Path));
            return {};
        }
        const QJsonArray array = Value.toArray();
        if (array.size() < Min || array.size() > Max) {
            Fail(Min == Max ? QCoreApplication::translate("TExercise",
                                                          "El dato «%1» debe tener %2 valores.")
                                  .arg(Path)
                                  .arg(Min)
                            : QCoreApplication::translate(
                                  "TExercise", "El dato «%1» debe tener entre %2 y %3 valores.")
                                  .arg(Path)
                                  .arg(Min)
                                  .arg(Max));
            return {};
        }
        return array;
    }

    double Number(const QJsonValue& Value, const QString& Path, double Min, double Max)
    {
        if (Failed()) return 0;
        if (!Value.isDouble()) {
            Fail(QCoreApplication::translate("TExercise", "El dato «%1» debe ser un número.")
                     .arg(Path));
            return 0;
        }
        const double v = Value.toDouble();
        if (!(v >= Min && v <= Max)) {
            Fail(QCoreApplication::translate(
                     "TExercise", "El dato «%1» está fuera del intervalo admitido (%2 a %3).")
                     .arg(Path, QString::number(Min, 'g', 10), QString::number(Max, 'g', 10)));
            return 0;
        }
        return v;
    }

    int64_t Integer(const QJsonValue& Value, const QString& Path, double Min, double Max)
    {
        const double v = Number(Value, Path, Min, Max);
        if (!Failed() && v != std::trunc(v))
            Fail(QCoreApplication::translate("TExercise", "El dato «%1» debe ser un número entero.")
                     .arg(Path));
        return Failed() ? 0 : static_cast<int64_t>(v);
    }

    bool Bool(const QJsonValue& Value, const QString& Path)
    {
        if (!Failed() && !Value.isBool())
            Fail(QCoreApplication::translate("TExercise", "El dato «%1» debe ser true o false.")
                     .arg(Path));
        return Value.toBool();
    }

    TEntries Entries(const QJsonValue& Value, const QString& Path)
    {
        const QJsonArray array = Array(Value, Path, 4, 4);
        TEntries e{};
        for (int i = 0; i < 4 && !Failed(); ++i)
            e[i] = Number(array[i], Index(Path, i), -double(MaxFlowEntry), double(MaxFlowEntry));
        return e;
    }

    void Fail(const QString& Message)
    {
        if (!Failed()) Error = Message;
    }

    static QString Join(const QString& Path, const char* Name)
    {
        return Path.isEmpty() ? QString::fromLatin1(Name) : Path + '.' + QLatin1String(Name);
    }
    static QString Index(const QString& Path, qsizetype I)
    {
        return QString::fromLatin1("%1[%2]").arg(Path).arg(I);
    }
};

// Whether the entries are those the flow type's edits can show: the entries
// its edits do not open keep their identity values. A rigid rotation's are
// not checked against its angle: the spin edit's text may be ahead of the
// entries it last set. (2,2) is not checked against 1/(1,1) in pure and
// sub-simple shear: it keeps its last value where (1,1) is 0.
bool FitsFlowType(TFlowType Type, const TEntries& E)
{
    switch (Type) {
    case TFlowType::SimpleShear:
        return E[0] == 1 && E[2] == 0 && E[3] == 1;
    case TFlowType::PureShear:
        return E[1] == 0 && E[2] == 0;
    case TFlowType::SubSimpleShear:
        return E[2] == 0;
    case TFlowType::GeneralShear:
    case TFlowType::RigidRotation:
        return true;
    }
    return false;
}

void ReadMarkers(TReader& R, const QJsonObject& Root, TExercise& X)
{
    const QJsonObject markers = R.Object(R.Member(Root, {}, "markers"), "markers");
    if (R.Failed()) return;
    if (markers.contains(QLatin1String("seed"))) {
        X.MarkerSeed = static_cast<uint32_t>(
            R.Integer(markers.value(QLatin1String("seed")), "markers.seed", 0, UINT32_MAX));
        return;
    }
    const QJsonArray list =
        R.Array(R.Member(markers, "markers", "list"), "markers.list", 1, MaxMarkers);
    for (qsizetype i = 0; i < list.size() && !R.Failed(); ++i) {
        const QString path = TReader::Index("markers.list", i);
        const QJsonArray m = R.Array(list[i], path, 5, 5);
        double v[5] = {};
        for (int k = 0; k < 5 && !R.Failed(); ++k)
            v[k] = R.Number(m[k], TReader::Index(path, k), -std::numeric_limits<double>::max(),
                            std::numeric_limits<double>::max());
        if (R.Failed()) return;
        const TCheckedMarker checked = CheckMarker({v[0], v[1], v[2], v[3], v[4]});
        if (checked.Error)
            R.Fail(QCoreApplication::translate(
                       "TExercise",
                       "El marcador «%1» no es válido: sus coordenadas deben estar entre -1000000 "
                       "y 1000000, sus semiejes ser positivos y no superar 1000000, y el mayor no "
                       "superar 10000 veces el menor.")
                       .arg(path));
        X.Markers.push_back(checked.Marker);
    }
}

// A window of the finite panel: x1, y1, x2, y2 with x1 < x2 and y1 < y2.
TWorldWindow ReadWindow(TReader& R, const QJsonValue& Value, const QString& Path)
{
    const QJsonArray window = R.Array(Value, Path, 4, 4);
    double w[4] = {};
    for (int i = 0; i < 4 && !R.Failed(); ++i)
        w[i] =
            R.Number(window[i], TReader::Index(Path, i), -MaxWindowCoordinate, MaxWindowCoordinate);
    if (!R.Failed() && !(w[0] < w[2] && w[1] < w[3]))
        R.Fail(QCoreApplication::translate("TExercise",
                                           "El dato «%1» no es una ventana: x1 < x2 e y1 < y2.")
                   .arg(Path));
    return {w[0], w[1], w[2], w[3]};
}

void ReadRestore(TReader& R, const QJsonObject& Root, TExercise& X)
{
    // Optional: a file written by hand starts from the window's start.
    if (!Root.contains(QLatin1String("restore"))) return;
    const QJsonObject restore = R.Object(Root.value(QLatin1String("restore")), "restore");
    X.RestoreWindow = ReadWindow(R, R.Member(restore, "restore", "window"), "restore.window");
    const QJsonArray axis = R.Array(R.Member(restore, "restore", "flowCircleAxis"),
                                    "restore.flowCircleAxis", 0, MaxExerciseAxisPoints);
    for (qsizetype i = 0; i < axis.size() && !R.Failed(); ++i) {
        const QString path = TReader::Index("restore.flowCircleAxis", i);
        const QJsonArray p = R.Array(axis[i], path, 2, 2);
        const double x =
            R.Number(p[0], TReader::Index(path, 0), -MaxWindowCoordinate, MaxWindowCoordinate);
        const double y =
            R.Number(p[1], TReader::Index(path, 1), -MaxWindowCoordinate, MaxWindowCoordinate);
        X.AxisPointsAtRestore.push_back({x, y});
    }
    const QJsonValue field = restore.value(QLatin1String("field"));
    if (R.Failed() || field.isUndefined() || field.isNull()) return;
    const QJsonObject f = R.Object(field, "restore.field");
    TFieldAtRestore at;
    at.Click.Entries = R.Entries(R.Member(f, "restore.field", "flow"), "restore.field.flow");
    at.Click.RotationDegrees =
        R.Number(R.Member(f, "restore.field", "rotationDegrees"), "restore.field.rotationDegrees",
                 MinRotationDegrees, MaxRotationDegrees);
    at.Window = ReadWindow(R, R.Member(f, "restore.field", "window"), "restore.field.window");
    X.FieldAtRestore = at;
}

TExercise ReadState(TReader& R, const QJsonObject& Root)
{
    TExercise x;
    const QString type = Root.value(QLatin1String("flowType")).toString();
    const auto* name = std::find_if(std::begin(FlowTypeNames), std::end(FlowTypeNames),
                                    [&](const char* n) { return type == QLatin1String(n); });
    R.Member(Root, {}, "flowType");
    if (!R.Failed() && name == std::end(FlowTypeNames))
        R.Fail(QCoreApplication::translate(
            "TExercise", "El dato «flowType» debe ser uno de simpleShear, pureShear, "
                         "subSimpleShear, generalShear o rigidRotation."));
    x.FlowType = static_cast<TFlowType>(name - std::begin(FlowTypeNames));
    x.Flow = R.Entries(R.Member(Root, {}, "flow"), "flow");
    x.RotationDegrees = R.Number(R.Member(Root, {}, "rotationDegrees"), "rotationDegrees",
                                 MinRotationDegrees, MaxRotationDegrees);
    if (!R.Failed() && x.FlowType == TFlowType::RigidRotation &&
        x.RotationDegrees != std::trunc(x.RotationDegrees))
        R.Fail(QCoreApplication::translate("TExercise",
                                           "El dato «rotationDegrees» debe ser un número entero."));
    if (!R.Failed() && !FitsFlowType(x.FlowType, x.Flow))
        R.Fail(QCoreApplication::translate("TExercise",
                                           "El dato «flow» no corresponde al tipo de flujo «%1».")
                   .arg(type));

    const QJsonArray clicks =
        R.Array(R.Member(Root, {}, "increments"), "increments", 0, MaxExerciseIncrements);
    for (qsizetype i = 0; i < clicks.size() && !R.Failed(); ++i) {
        const QString path = TReader::Index("increments", i);
        const QJsonObject c = R.Object(clicks[i], path);
        TAppliedClick click;
        click.Entries = R.Entries(R.Member(c, path, "flow"), TReader::Join(path, "flow"));
        click.RotationDegrees =
            R.Number(R.Member(c, path, "rotationDegrees"), TReader::Join(path, "rotationDegrees"),
                     MinRotationDegrees, MaxRotationDegrees);
        click.Increments = static_cast<int>(R.Integer(
            R.Member(c, path, "count"), TReader::Join(path, "count"), 0, MaxIncrementsPerClick));
        x.Increments.push_back(click);
    }

    const QJsonObject visible = R.Object(R.Member(Root, {}, "visible"), "visible");
    for (int i = 0; i < VisibleShapeCount; ++i)
        x.Visible[i] = R.Bool(R.Member(visible, "visible", VisibleNames[i]),
                              TReader::Join("visible", VisibleNames[i]));
    const QJsonObject charts = R.Object(R.Member(Root, {}, "charts"), "charts");
    x.ChartTab = static_cast<int>(R.Integer(R.Member(charts, "charts", "tab"), "charts.tab", 0, 2));
    for (int i = 0; i < ChartBoxCount; ++i)
        x.Charts[i] = R.Bool(R.Member(charts, "charts", ChartNames[i]),
                             TReader::Join("charts", ChartNames[i]));
    ReadMarkers(R, Root, x);
    ReadRestore(R, Root, x);
    return x;
}

} // namespace

QByteArray ExerciseJson(const TExercise& X)
{
    QJsonObject root;
    root.insert("format", FormatName);
    root.insert("version", ExerciseVersion);
    root.insert("flowType", FlowTypeNames[static_cast<int>(X.FlowType)]);
    root.insert("flow", EntriesJson(X.Flow));
    root.insert("rotationDegrees", X.RotationDegrees);
    QJsonArray clicks;
    for (const TAppliedClick& c : X.Increments)
        clicks.append(QJsonObject{{"flow", EntriesJson(c.Entries)},
                                  {"rotationDegrees", c.RotationDegrees},
                                  {"count", c.Increments}});
    root.insert("increments", clicks);
    QJsonObject visible;
    for (int i = 0; i < VisibleShapeCount; ++i)
        visible.insert(VisibleNames[i], X.Visible[i]);
    root.insert("visible", visible);
    QJsonObject charts{{"tab", X.ChartTab}};
    for (int i = 0; i < ChartBoxCount; ++i)
        charts.insert(ChartNames[i], X.Charts[i]);
    root.insert("charts", charts);
    QJsonObject markers;
    if (X.MarkerSeed) {
        markers.insert("seed", static_cast<double>(*X.MarkerSeed));
    } else {
        QJsonArray list;
        for (const TMarker& m : X.Markers)
            list.append(Numbers({m.X, m.Y, m.Long, m.Short, m.OrientationDegrees}));
        markers.insert("list", list);
    }
    root.insert("markers", markers);
    const TWorldWindow& w = X.RestoreWindow;
    QJsonArray axis;
    for (const TWorldPoint& p : X.AxisPointsAtRestore)
        axis.append(Numbers({p.X, p.Y}));
    QJsonObject restore{{"window", Numbers({w.X1, w.Y1, w.X2, w.Y2})}, {"flowCircleAxis", axis}};
    if (const std::optional<TFieldAtRestore>& f = X.FieldAtRestore) {
        const TWorldWindow& fw = f->Window;
        restore.insert("field", QJsonObject{{"flow", EntriesJson(f->Click.Entries)},
                                            {"rotationDegrees", f->Click.RotationDegrees},
                                            {"window", Numbers({fw.X1, fw.Y1, fw.X2, fw.Y2})}});
    }
    root.insert("restore", restore);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString ExerciseSizeError(const TExercise& X)
{
    int64_t increments = 0;
    for (const TAppliedClick& c : X.Increments)
        increments += c.Increments;
    const int64_t markers = X.MarkerSeed ? DefaultMarkerCount : int64_t(X.Markers.size());
    if (int64_t(X.AxisPointsAtRestore.size()) > MaxExerciseAxisPoints)
        return QCoreApplication::translate("TExercise",
                                           "El ejercicio tiene más de %1 puntos del eje del "
                                           "círculo de Mohr del flujo.")
            .arg(MaxExerciseAxisPoints);
    if (increments > MaxExerciseIncrements)
        return QCoreApplication::translate("TExercise", "El ejercicio tiene más de %1 incrementos.")
            .arg(MaxExerciseIncrements);
    if (increments * std::max<int64_t>(markers, 1) > MaxExerciseMarkerSteps)
        return QCoreApplication::translate("TExercise",
                                           "El ejercicio tiene demasiados incrementos para sus %1 "
                                           "marcadores: %2 (a lo sumo %3).")
            .arg(markers)
            .arg(increments)
            .arg(MaxExerciseMarkerSteps / std::max<int64_t>(markers, 1));
    return {};
}

TExerciseRead ReadExercise(const QByteArray& Text)
{
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(Text, &parse);
    if (parse.error != QJsonParseError::NoError)
        return {std::nullopt, QCoreApplication::translate(
                                  "TExercise", "El archivo no es un documento JSON válido (error "
                                               "cerca del carácter %1).")
                                  .arg(parse.offset)};
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(QLatin1String("format")) != QLatin1String(FormatName))
        return {std::nullopt, QCoreApplication::translate(
                                  "TExercise", "El archivo no es un ejercicio de Tensim.")};
    const QJsonValue version = root.value(QLatin1String("version"));
    if (version != QJsonValue(ExerciseVersion))
        return {std::nullopt,
                QCoreApplication::translate(
                    "TExercise", "El archivo es de una versión de ejercicio desconocida (%1); esta "
                                 "versión de Tensim lee la versión %2.")
                    .arg(version.isDouble()
                             ? QString::number(version.toDouble())
                             : QCoreApplication::translate("TExercise", "sin número"))
                    .arg(ExerciseVersion)};
    TReader reader;
    TExercise exercise = ReadState(reader, root);
    if (reader.Failed()) return {std::nullopt, reader.Error};
    const QString size = ExerciseSizeError(exercise);
    if (!size.isEmpty()) return {std::nullopt, size};
    return {std::move(exercise), {}};
}

} // namespace tensim
