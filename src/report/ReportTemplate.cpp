#include "report/ReportTemplate.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <utility>

namespace Report {

namespace {

// Collects the first problem found while reading a template; later ones are ignored.
struct Reader
{
    QString error;

    bool failed() const { return !error.isEmpty(); }
    void fail(const QString &what)
    {
        if (error.isEmpty())
            error = what;
    }

    double number(const QJsonObject &o, const QString &key, const QString &owner, double fallback,
        bool required)
    {
        const QJsonValue v = o.value(key);
        if (v.isUndefined()) {
            if (required)
                fail(owner + QStringLiteral(": missing \"") + key + u'"');
            return fallback;
        }
        if (!v.isDouble() || v.toDouble() < 0) {
            fail(owner + QStringLiteral(": \"") + key + QStringLiteral("\" is not a length"));
            return fallback;
        }
        return v.toDouble();
    }

    template <typename E, size_t N>
    E choice(const QJsonObject &o, const QString &key, const QString &owner,
        const std::pair<const char16_t *, E> (&names)[N], E fallback)
    {
        const QJsonValue v = o.value(key);
        if (v.isUndefined())
            return fallback;
        for (const auto &[text, value] : names) {
            if (v.toString() == QStringView(text))
                return value;
        }
        fail(owner + QStringLiteral(": unknown \"") + key + QStringLiteral("\" ") + v.toString());
        return fallback;
    }

    Item item(const QJsonObject &o)
    {
        Item it;
        it.name = o.value(u"name").toString();
        const QString owner = it.name.isEmpty() ? QStringLiteral("item") : it.name;
        static const std::pair<const char16_t *, ItemKind> kinds[] = { { u"text", ItemKind::Text },
            { u"line", ItemKind::Line }, { u"picture", ItemKind::Picture } };
        if (!o.contains(u"type"))
            fail(owner + QStringLiteral(": missing \"type\""));
        it.kind = choice(o, QStringLiteral("type"), owner, kinds, ItemKind::Text);
        it.left = number(o, QStringLiteral("left"), owner, 0, true);
        it.top = number(o, QStringLiteral("top"), owner, 0, true);
        it.width = number(o, QStringLiteral("width"), owner, 0, true);
        it.height = number(o, QStringLiteral("height"), owner, 0, it.kind != ItemKind::Line);
        it.color = o.value(u"color").toString(it.color);

        static const std::pair<const char16_t *, HAlign> hAligns[] = { { u"left", HAlign::Left },
            { u"center", HAlign::Center }, { u"right", HAlign::Right } };
        static const std::pair<const char16_t *, VAlign> vAligns[] = { { u"top", VAlign::Top },
            { u"center", VAlign::Center }, { u"bottom", VAlign::Bottom } };
        switch (it.kind) {
        case ItemKind::Text: {
            it.text = o.value(u"text").toString();
            const QJsonObject font = o.value(u"font").toObject();
            it.font.family = font.value(u"family").toString();
            if (it.font.family.isEmpty())
                fail(owner + QStringLiteral(": missing font family"));
            it.font.pointSize = number(font, QStringLiteral("size"), owner, 10, true);
            it.font.bold = font.value(u"bold").toBool();
            it.fill = o.value(u"fill").toString();
            it.hAlign = choice(o, QStringLiteral("align"), owner, hAligns, HAlign::Left);
            it.vAlign = choice(o, QStringLiteral("valign"), owner, vAligns, VAlign::Top);
            it.multiLine = o.value(u"multiLine").toBool();
            it.lineHeight = number(o, QStringLiteral("lineHeight"), owner, 0, it.multiLine);
            if (it.multiLine && it.lineHeight <= 0)
                fail(owner + QStringLiteral(": a multi-line box needs a line height"));
            if (it.multiLine)
                it.lines = textLines(std::exchange(it.text, QString()));
            it.placeholders = o.value(u"placeholders").toBool();
            break;
        }
        case ItemKind::Line:
            it.lineWidth = number(o, QStringLiteral("lineWidth"), owner, it.lineWidth, false);
            break;
        case ItemKind::Picture:
            for (const QJsonValue &s : o.value(u"sources").toArray())
                it.sources.append(s.toString());
            if (it.sources.isEmpty())
                fail(owner + QStringLiteral(": a picture needs its sources"));
            it.opaque = o.value(u"opaque").toBool();
            break;
        case ItemKind::Bars:
            break;
        }
        return it;
    }

    QList<Item> items(const QJsonValue &array)
    {
        QList<Item> result;
        for (const QJsonValue &v : array.toArray())
            result.append(item(v.toObject()));
        return result;
    }
};

} // namespace

std::optional<ReportTemplate> ReportTemplate::fromJson(const QByteArray &json, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    Reader r;
    if (doc.isNull())
        r.fail(QStringLiteral("not JSON: ") + parseError.errorString());
    const QJsonObject root = doc.object();

    ReportTemplate t;
    t.m_name = root.value(u"name").toString();
    const QJsonObject info = root.value(u"document").toObject();
    t.m_info.title = info.value(u"title").toString(t.m_name);
    t.m_info.subject = info.value(u"subject").toString();
    t.m_info.author = info.value(u"author").toString();
    t.m_info.creator = info.value(u"creator").toString();

    const QJsonObject page = root.value(u"page").toObject();
    const QJsonValue paper = page.value(u"paper");
    if (paper.isArray() && paper.toArray().size() == 2) {
        t.m_paperWidth = paper.toArray().at(0).toDouble();
        t.m_paperHeight = paper.toArray().at(1).toDouble();
    } else if (paper.toString(QStringLiteral("A4")) != u"A4") {
        r.fail(QStringLiteral("page: unknown paper"));
    }
    static const std::pair<const char16_t *, Orientation> orientations[]
        = { { u"portrait", Orientation::Portrait }, { u"landscape", Orientation::Landscape } };
    t.m_orientation = r.choice(page, QStringLiteral("orientation"), QStringLiteral("page"),
        orientations, Orientation::Portrait);
    const QJsonArray margins = page.value(u"margins").toArray();
    if (!margins.isEmpty() && margins.size() != 4)
        r.fail(QStringLiteral("page: margins are left, top, right, bottom"));
    for (qsizetype i = 0; i < margins.size() && i < 4; ++i)
        t.m_margins[i] = margins.at(i).toDouble();

    t.m_pageItems = r.items(root.value(u"items"));

    static const std::pair<const char16_t *, BandKind> kinds[] = { { u"title", BandKind::Title },
        { u"data", BandKind::Data }, { u"footer", BandKind::Footer } };
    for (const QJsonValue &v : root.value(u"bands").toArray()) {
        const QJsonObject o = v.toObject();
        Band band;
        band.name = o.value(u"name").toString();
        band.kind = r.choice(o, QStringLiteral("kind"), band.name, kinds, BandKind::Data);
        band.height = r.number(o, QStringLiteral("height"), band.name, 0, true);
        band.items = r.items(o.value(u"items"));
        int multiLine = 0;
        for (const Item &it : band.items)
            multiLine += it.multiLine ? 1 : 0;
        if (multiLine > 1)
            r.fail(band.name + QStringLiteral(": a band holds at most one multi-line box"));
        t.m_bands.append(band);
    }

    // Names are how the program reaches items and bands: they must be unique.
    QSet<QString> names;
    auto checkName = [&](const QString &name) {
        if (name.isEmpty())
            return;
        if (names.contains(name))
            r.fail(QStringLiteral("duplicate name ") + name);
        names.insert(name);
    };
    for (const Item &it : std::as_const(t.m_pageItems))
        checkName(it.name);
    for (const Band &band : std::as_const(t.m_bands)) {
        checkName(band.name);
        for (const Item &it : band.items)
            checkName(it.name);
    }

    if (r.failed()) {
        if (error)
            *error = r.error;
        return std::nullopt;
    }
    return t;
}

std::optional<ReportTemplate> ReportTemplate::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = path + QStringLiteral(": ") + file.errorString();
        return std::nullopt;
    }
    return fromJson(file.readAll(), error);
}

double ReportTemplate::pageWidth() const
{
    return m_orientation == Orientation::Portrait ? m_paperWidth : m_paperHeight;
}

double ReportTemplate::pageHeight() const
{
    return m_orientation == Orientation::Portrait ? m_paperHeight : m_paperWidth;
}

// One search for both constnesses: the non-const call iterates non-const lists, so a
// template copied from another detaches before it is changed.
template <typename Items, typename Bands>
static auto *itemIn(Items &pageItems, Bands &bands, QStringView name)
{
    decltype(&pageItems[0]) found = nullptr;
    for (auto &it : pageItems) {
        if (it.name == name)
            return &it;
    }
    for (auto &band : bands) {
        for (auto &it : band.items) {
            if (it.name == name)
                return &it;
        }
    }
    return found;
}

template <typename Bands> static auto *bandIn(Bands &bands, QStringView name)
{
    decltype(&bands[0]) found = nullptr;
    for (auto &band : bands) {
        if (band.name == name)
            return &band;
    }
    return found;
}

Item *ReportTemplate::findItem(QStringView name)
{
    return itemIn(m_pageItems, m_bands, name);
}

const Item *ReportTemplate::findItem(QStringView name) const
{
    return itemIn(m_pageItems, m_bands, name);
}

Band *ReportTemplate::findBand(QStringView name)
{
    return bandIn(m_bands, name);
}

const Band *ReportTemplate::findBand(QStringView name) const
{
    return bandIn(m_bands, name);
}

bool ReportTemplate::setText(QStringView name, const QString &text)
{
    Item *it = findItem(name);
    if (!it || it->kind != ItemKind::Text)
        return false;
    if (it->multiLine)
        it->lines = textLines(text);
    else
        it->text = text;
    return true;
}

bool ReportTemplate::setLines(QStringView name, const QStringList &lines)
{
    Item *it = findItem(name);
    if (!it || it->kind != ItemKind::Text || !it->multiLine)
        return false;
    it->lines = lines;
    return true;
}

QStringList textLines(const QString &text)
{
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

bool ReportTemplate::setItemHeight(QStringView name, double mm)
{
    Item *it = findItem(name);
    if (!it)
        return false;
    it->height = mm;
    return true;
}

bool ReportTemplate::setBandHeight(QStringView name, double mm)
{
    Band *band = findBand(name);
    if (!band)
        return false;
    band->height = mm;
    return true;
}

} // namespace Report
