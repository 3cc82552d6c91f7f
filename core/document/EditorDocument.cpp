#include "core/document/EditorDocument.h"

#include "core/document/UndoActionNames.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace lumivex {

namespace {

bool isFinite(const RGBAColor& c) { return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b) && std::isfinite(c.a); }

// A style with a NaN or infinite value would be written into annotations and the undo history, where it
// can never be compared equal again; such a style is refused as a whole.
bool isFinite(const ToolStyle& s)
{
    return isFinite(s.strokeColor) && isFinite(s.fillColor) && isFinite(s.outlineColor) && std::isfinite(s.lineWidth)
        && std::isfinite(s.cornerRadius) && std::isfinite(s.opacity) && std::isfinite(s.fontSize)
        && std::isfinite(s.blurAmount) && std::isfinite(s.outlineWidth) && std::isfinite(s.arrowBend);
}

bool isFinite(const CanvasRatio& r) { return std::isfinite(r.width()) && std::isfinite(r.height()); }

// Stickers are never thinner than 1:20 in either direction, so every new sticker can be seen and grabbed.
constexpr double stickerMinimumAspect = 0.05;
constexpr double stickerLength = 110;        // style points, along the longer side
constexpr double stickerCascadeStep = 18;    // style points, per sticker already present
constexpr int stickerCascadeLength = 6;

} // namespace

EditorDocument::EditorDocument(const LoadedImage& loaded, QObject* parent)
    : QObject(parent),
      m_name(loaded.name),
      m_pixelScale(std::isfinite(loaded.scale) && loaded.scale > 0 ? loaded.scale : 1.0),
      m_state(loaded.image),
      m_clock([] { return std::chrono::steady_clock::now(); })
{
    m_unit = unitForImageSize(m_state.imageSize());
}

double EditorDocument::unitForImageSize(Size imageSize)
{
    return std::max(std::max(imageSize.width, imageSize.height) / 1000.0, 1.0);
}

// ---------------------------------------------------------------- published properties

void EditorDocument::setTool(Tool tool)
{
    if (tool == m_tool)
        return;
    const Tool old = m_tool;
    m_tool = tool;
    Q_EMIT toolChanged();
    toolDidChange(old);
}

void EditorDocument::setStyle(const ToolStyle& style)
{
    if (style == m_style || !isFinite(style))
        return;
    const ToolStyle old = m_style;
    m_style = style;
    Q_EMIT styleChanged();
    styleDidChange(old);
}

void EditorDocument::setStickyTool(bool sticky)
{
    if (sticky == m_stickyTool)
        return;
    m_stickyTool = sticky;
    Q_EMIT stickyToolChanged();
}

void EditorDocument::setCropDraft(const std::optional<Rect>& draft)
{
    if (draft == m_cropDraft)
        return;
    m_cropDraft = draft;
    Q_EMIT cropDraftChanged();
}

void EditorDocument::setSelection(const std::optional<QUuid>& id)
{
    if (id == m_selection)
        return;
    m_selection = id;
    Q_EMIT selectionChanged();
}

// ---------------------------------------------------------------- queries

int EditorDocument::indexOf(const QUuid& id) const
{
    const auto& list = m_state.annotations;
    const auto found = std::find_if(list.begin(), list.end(), [&](const Annotation& a) { return a.id == id; });
    return found == list.end() ? -1 : int(found - list.begin());
}

std::optional<Annotation> EditorDocument::annotation(const QUuid& id) const
{
    const int index = indexOf(id);
    if (index < 0)
        return std::nullopt;
    return m_state.annotations[index];
}

std::optional<Annotation> EditorDocument::selectedAnnotation() const
{
    if (!m_selection)
        return std::nullopt;
    return annotation(*m_selection);
}

std::optional<Annotation> EditorDocument::hitTest(Point point, double tolerance) const
{
    const auto& list = m_state.annotations;
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (it->contains(point, tolerance))
            return *it;
    }
    return std::nullopt;
}

EditorState EditorDocument::displayState() const
{
    if (m_tool != Tool::crop)
        return m_state;
    // The crop is adjusted on the whole image, without the framing that would hide parts of it.
    EditorState whole = m_state;
    whole.padding = CanvasPadding{};
    whole.ratio = CanvasRatio::automatic();
    whole.cropRect.reset();
    return whole;
}

// ---------------------------------------------------------------- selection, tool and style

void EditorDocument::select(const std::optional<QUuid>& id)
{
    const int index = id ? indexOf(*id) : -1;
    setSelection(index >= 0 ? id : std::nullopt);
    if (index < 0)
        return;
    assignStyleWhileSyncing(ToolStyle::syncing(m_state.annotations[index], m_unit, m_style));
    m_styleSyncedFromSelection = true;
}

void EditorDocument::selectAdded(const QUuid& id)
{
    // A new object was made from the current style, so the style is not read back from it: doing so would
    // mark the style as taken from a selection, and the next object drawn with the same tool would lose
    // the fill the user chose while this one was selected.
    setSelection(id);
}

Annotation EditorDocument::makeAnnotation(AnnotationKind kind) const
{
    Annotation annotation(kind);
    m_style.apply(annotation, m_unit);
    return annotation;
}

void EditorDocument::prepareForCreation()
{
    if (m_styleSyncedFromSelection)
        applyToolDefaults();
}

void EditorDocument::cycleSizeLevel()
{
    std::optional<AnnotationKind> kind;
    if (const auto selected = selectedAnnotation())
        kind = selected->kind;
    else
        kind = Tools::annotationKind(m_tool);
    if (!kind)
        return;
    ToolStyle next = m_style;
    if (next.cycleSize(*kind))
        setStyle(next);
}

void EditorDocument::toolDidChange(Tool old)
{
    if (old == m_tool)
        return;
    if (m_tool != Tool::select)
        setSelection(std::nullopt);
    setCropDraft(m_tool == Tool::crop ? std::optional<Rect>(m_state.visibleRect()) : std::nullopt);
    if (Tools::annotationKind(m_tool))
        applyToolDefaults();
}

void EditorDocument::applyToolDefaults()
{
    m_styleSyncedFromSelection = false;
    const auto kind = Tools::annotationKind(m_tool);
    if (!kind)
        return;
    const bool fills = Tools::fillsByDefault(m_tool);
    ToolStyle defaults = m_style;
    if (Capabilities::canFill(*kind))
        defaults.fillEnabled = fills;
    if (Capabilities::hasLineWidth(*kind)) {
        // Filled shapes get no outline; an outline tool brings back a visible line if there was none.
        if (fills)
            defaults.lineWidth = 0;
        else if (defaults.lineWidth == 0)
            defaults.lineWidth = 4.0;
    }
    assignStyleWhileSyncing(defaults);
}

void EditorDocument::assignStyleWhileSyncing(const ToolStyle& style)
{
    const bool wasSyncing = m_syncingStyle;
    m_syncingStyle = true;
    setStyle(style);
    m_syncingStyle = wasSyncing;
}

void EditorDocument::styleDidChange(const ToolStyle& old)
{
    if (m_syncingStyle || !m_selection)
        return;
    const int index = indexOf(*m_selection);
    if (index < 0)
        return;
    Annotation changed = m_state.annotations[index];
    m_style.applyChanges(old, changed, m_unit);
    if (changed == m_state.annotations[index])
        return;
    replaceCoalesced(changed, m_selection->toString(QUuid::WithoutBraces), UndoActionNames::changeStyle());
}

void EditorDocument::syncArrowBendFromSelection()
{
    const auto selected = selectedAnnotation();
    if (!selected || selected->kind != AnnotationKind::arrow || selected->arrowBend == m_style.arrowBend)
        return;
    ToolStyle followed = m_style;
    followed.arrowBend = selected->arrowBend;
    assignStyleWhileSyncing(followed);
}

void EditorDocument::fixSelection()
{
    if (m_selection && indexOf(*m_selection) < 0)
        setSelection(std::nullopt);
    syncArrowBendFromSelection();
}

// ---------------------------------------------------------------- content operations

void EditorDocument::add(const Annotation& annotation)
{
    EditorState before = m_state;
    changeState([&](EditorState& state) { state.annotations.push_back(annotation); });
    selectAdded(annotation.id);
    fixSelection();
    commit(std::move(before), UndoActionNames::add());
}

void EditorDocument::addSticker(const StickerSource& source)
{
    Annotation sticker(AnnotationKind::sticker);
    sticker.sticker = source;

    const double length = stickerLength * m_unit;
    double aspect = source.aspectRatio();
    if (!std::isfinite(aspect) || aspect <= 0)
        aspect = 1;
    aspect = std::clamp(aspect, stickerMinimumAspect, 1 / stickerMinimumAspect);
    const Size size = aspect >= 1 ? Size{length, length / aspect} : Size{length * aspect, length};

    const auto stickers = std::count_if(m_state.annotations.begin(), m_state.annotations.end(),
                                        [](const Annotation& a) { return a.kind == AnnotationKind::sticker; });
    const double offset = stickerCascadeStep * m_unit * double(stickers % stickerCascadeLength);
    const Point center = m_state.visibleRect().center() + Vector{offset, offset};
    sticker.frame = Rect{center.x - size.width / 2, center.y - size.height / 2, size.width, size.height};

    setTool(Tool::select);
    add(sticker);
}

void EditorDocument::deleteSelected()
{
    if (!selectedAnnotation())
        return;
    const QUuid id = *m_selection;
    perform(UndoActionNames::remove(), [&](EditorState& state) {
        std::erase_if(state.annotations, [&](const Annotation& a) { return a.id == id; });
    });
}

void EditorDocument::bringToFront()
{
    restackSelected(UndoActionNames::bringToFront(), [](auto, auto selected, auto end) {
        std::rotate(selected, selected + 1, end);
    });
}

void EditorDocument::sendToBack()
{
    restackSelected(UndoActionNames::sendToBack(), [](auto begin, auto selected, auto) {
        std::rotate(begin, selected, selected + 1);
    });
}

void EditorDocument::restackSelected(const QString& name,
                                     const std::function<void(Iterator begin, Iterator selected, Iterator end)>& move)
{
    const int index = m_selection ? indexOf(*m_selection) : -1;
    if (index < 0)
        return;
    perform(name, [&](EditorState& state) {
        auto& list = state.annotations;
        move(list.begin(), list.begin() + index, list.end());
    });
}

void EditorDocument::setPadding(const CanvasPadding& padding)
{
    if (!std::isfinite(padding.amount) || !isFinite(padding.color))
        return;
    applyCoalesced(QStringLiteral("padding"), UndoActionNames::changePadding(),
                   [&](EditorState& state) { state.padding = padding; });
}

void EditorDocument::setRatio(const CanvasRatio& ratio)
{
    if (!isFinite(ratio))
        return;
    perform(UndoActionNames::changeRatio(), [&](EditorState& state) { state.ratio = ratio; });
}

void EditorDocument::setSelectedTextExtra(Size extra)
{
    const auto selected = selectedAnnotation();
    if (!selected || selected->kind != AnnotationKind::text)
        return;
    if (!std::isfinite(extra.width) || !std::isfinite(extra.height))
        return;
    Annotation changed = *selected;
    changed.textExtraSize = Size{std::max(extra.width, 0.0), std::max(extra.height, 0.0)};
    changed.refreshTextFrame(true);
    replaceCoalesced(changed, QStringLiteral("extra-") + changed.id.toString(QUuid::WithoutBraces),
                     UndoActionNames::textBoxSize());
}

void EditorDocument::applyCrop()
{
    if (!m_cropDraft)
        return;
    const Rect whole = m_state.imageRect();
    const Rect crop = m_cropDraft->intersected(whole).integral();
    if (crop.isEmpty() || crop.width < 1 || crop.height < 1)
        return;
    const std::optional<Rect> stored = crop == whole ? std::nullopt : std::optional<Rect>(crop);
    perform(UndoActionNames::crop(), [&](EditorState& state) { state.cropRect = stored; });
    setTool(Tool::select);
}

void EditorDocument::cancelCrop()
{
    setTool(Tool::select);
    setCropDraft(std::nullopt);
}

void EditorDocument::resetCrop()
{
    if (m_tool == Tool::crop)
        setCropDraft(m_state.imageRect());
    if (m_state.cropRect)
        perform(UndoActionNames::removeCrop(), [](EditorState& state) { state.cropRect.reset(); });
}

void EditorDocument::perform(const QString& name, const StateChange& change)
{
    EditorState before = m_state;
    changeState(change);
    fixSelection();
    commit(std::move(before), name);
}

void EditorDocument::cover(const std::vector<Rect>& faces, const FaceCover& with)
{
    const std::vector<Annotation> covers = with.covers(faces, m_style, m_unit);
    if (covers.empty())
        return;
    perform(UndoActionNames::coverFaces(),
            [&](EditorState& state) { state.annotations.insert(state.annotations.end(), covers.begin(), covers.end()); });
    setSelection(std::nullopt);
}

// ---------------------------------------------------------------- recording

void EditorDocument::changeState(const StateChange& change)
{
    change(m_state);
    Q_EMIT stateChanged();
}

void EditorDocument::commit(EditorState before, const QString& name)
{
    // Inside an open interaction every change belongs to it: the interaction's one step, taken from its start,
    // already covers this change, whoever made it.
    if (isInteracting() || m_state.hasSameContent(before))
        return;
    m_lastCoalesced.reset();
    registerUndoStep(std::move(before), name);
}

void EditorDocument::registerUndoStep(EditorState snapshot, const QString& name)
{
    m_undoStack.registerStep(std::move(snapshot), name);
    Q_EMIT undoStackChanged();
}

void EditorDocument::applyCoalesced(const QString& key, const QString& name, const StateChange& change)
{
    EditorState before = m_state;
    const auto now = m_clock();
    const bool continues = m_lastCoalesced && m_lastCoalesced->key == key && now - m_lastCoalesced->time < coalescingWindow;
    changeState(change);
    // Nothing changed: no step, and the running window is neither renewed nor ended. Inside an interaction the
    // change is part of the interaction's step and opens no window of its own.
    if (isInteracting() || m_state.hasSameContent(before))
        return;
    // A continued burst adds nothing: its first step already holds the state from before the burst.
    if (!continues) {
        m_lastCoalesced.reset();
        registerUndoStep(std::move(before), name);
    }
    m_lastCoalesced = Coalesced{key, now};
}

void EditorDocument::replaceCoalesced(const Annotation& changed, const QString& key, const QString& name)
{
    applyCoalesced(key, name, [&](EditorState& state) {
        for (Annotation& annotation : state.annotations) {
            if (annotation.id == changed.id) {
                annotation = changed;
                return;
            }
        }
    });
}

// ---------------------------------------------------------------- interaction bracket

void EditorDocument::beginInteraction()
{
    m_interactionStart = m_state;
    Q_EMIT undoStackChanged();
}

void EditorDocument::modify(const QUuid& id, const AnnotationChange& change)
{
    const int index = indexOf(id);
    if (index < 0)
        return;
    changeState([&](EditorState& state) { change(state.annotations[index]); });
}

void EditorDocument::addTransient(const Annotation& annotation)
{
    changeState([&](EditorState& state) { state.annotations.push_back(annotation); });
    selectAdded(annotation.id);
}

void EditorDocument::removeTransient(const QUuid& id)
{
    if (indexOf(id) >= 0)
        changeState([&](EditorState& state) {
            std::erase_if(state.annotations, [&](const Annotation& a) { return a.id == id; });
        });
    fixSelection();
}

void EditorDocument::endInteraction(const QString& name)
{
    if (!m_interactionStart)
        return;
    EditorState before = std::move(*m_interactionStart);
    m_interactionStart.reset();
    commit(std::move(before), name);
    syncArrowBendFromSelection();
    Q_EMIT undoStackChanged();
}

void EditorDocument::cancelInteraction()
{
    if (!m_interactionStart)
        return;
    m_state = std::move(*m_interactionStart);
    m_interactionStart.reset();
    Q_EMIT stateChanged();
    fixSelection();
    Q_EMIT undoStackChanged();
}

// ---------------------------------------------------------------- undo

bool EditorDocument::canUndo() const { return !isInteracting() && m_undoStack.canUndo(); }

bool EditorDocument::canRedo() const { return !isInteracting() && m_undoStack.canRedo(); }

QString EditorDocument::undoActionName() const { return m_undoStack.undoActionName(); }

QString EditorDocument::redoActionName() const { return m_undoStack.redoActionName(); }

void EditorDocument::undo()
{
    if (isInteracting())
        return;
    m_undoStack.undo([this](UndoStack::Step&& step) { runUndoStep(std::move(step)); });
}

void EditorDocument::redo()
{
    if (isInteracting())
        return;
    m_undoStack.redo([this](UndoStack::Step&& step) { runUndoStep(std::move(step)); });
}

void EditorDocument::runUndoStep(UndoStack::Step&& step)
{
    EditorState current = std::move(m_state);
    m_state = std::move(step.snapshot);
    Q_EMIT stateChanged();
    fixSelection();
    m_lastCoalesced.reset();
    // Registered while the stack runs this step, the reverse lands on the opposite side with the same name.
    registerUndoStep(std::move(current), step.name);
}

void EditorDocument::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock([] { return std::chrono::steady_clock::now(); });
}

} // namespace lumivex
