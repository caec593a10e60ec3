#include "report/Band.h"

#include <stdexcept>

namespace kavina::report {

Element& Band::add(Element element) {
    if (find(element.name)) throw std::logic_error("band " + m_name + " already has an element " + element.name);
    m_elements.push_back(std::make_unique<Element>(std::move(element)));
    return *m_elements.back();
}

Element& Band::addText(std::string name, const QRectF& rect, const QString& text, const TextStyle& style) {
    Element e;
    e.name = std::move(name);
    e.rect = rect;
    e.text = text;
    e.style = style;
    return add(std::move(e));
}

Element& Band::addField(std::string name, const QRectF& rect, const RecordCursor& cursor, std::string field,
                        const TextStyle& style) {
    Element& e = addText(std::move(name), rect, QString(), style);
    e.cursor = &cursor;
    e.field = std::move(field);
    return e;
}

Element& Band::addPageNumber(std::string name, const QRectF& rect, const QString& format, const TextStyle& style) {
    Element& e = addText(std::move(name), rect, QString(), style);
    e.pageFormat = format;
    return e;
}

Element& Band::addLine(std::string name, const QPointF& from, const QPointF& to, double penWidth) {
    Element e;
    e.name = std::move(name);
    e.kind = ElementKind::Line;
    e.rect = QRectF(from, to);
    e.penWidth = penWidth;
    return add(std::move(e));
}

Element& Band::addFrame(std::string name, const QRectF& rect, double penWidth) {
    Element e;
    e.name = std::move(name);
    e.kind = ElementKind::Frame;
    e.rect = rect;
    e.penWidth = penWidth;
    return add(std::move(e));
}

Element& Band::addPicture(std::string name, const QRectF& rect, const QImage& image, Qt::Alignment alignment) {
    Element e;
    e.name = std::move(name);
    e.kind = ElementKind::Picture;
    e.rect = rect;
    e.image = image;
    e.style.alignment = alignment;
    return add(std::move(e));
}

Element& Band::addRichText(std::string name, const QRectF& rect, std::shared_ptr<QTextDocument> document) {
    Element e;
    e.name = std::move(name);
    e.kind = ElementKind::RichText;
    e.rect = rect;
    e.document = std::move(document);
    e.stretch = true;
    return add(std::move(e));
}

Element* Band::find(std::string_view name) {
    for (auto& e : m_elements)
        if (e->name == name) return e.get();
    return nullptr;
}

Element& Band::element(std::string_view name) {
    Element* e = find(name);
    if (!e) throw std::logic_error("band " + m_name + " has no element " + std::string(name));
    return *e;
}

const Element& Band::element(std::string_view name) const {
    return const_cast<Band*>(this)->element(name);
}

}  // namespace kavina::report
