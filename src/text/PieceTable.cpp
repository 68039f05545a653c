#include "text/PieceTable.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <utility>

namespace pel {

struct PieceTable::Node {
    Node* left = nullptr;
    Node* right = nullptr;
    // The piece: a run of one buffer, and the line breaks in it.
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype breaks = 0;
    // The same counts over the whole subtree.
    qsizetype totalLength = 0;
    qsizetype totalBreaks = 0;
    quint32 buffer = 0;
    quint32 priority = 0;
};

struct PieceTable::Buffer {
    QString text;
    std::vector<qsizetype> breaks;  // positions of '\n' in text, ascending
    CodeMarks marks;                // positions in text, ascending, one per position
};

namespace {

using Node = PieceTable::Node;

// Typed text goes into blocks of this many characters, reserved in advance,
// so an append never moves what is already there; a larger insertion gets a
// buffer of its own size.
constexpr qsizetype kBlock = 1 << 16;
// Below this size one thread finds the line breaks faster than several.
constexpr qsizetype kParallelBreaks = 1 << 22;

// Every state of every table has its own number, so an edit record is only
// ever applied to the text it was made for.
quint64 nextState()
{
    static std::atomic<quint64> last{0};
    return ++last;
}

qsizetype lengthOf(const Node* node) { return node ? node->totalLength : 0; }
qsizetype breaksOf(const Node* node) { return node ? node->totalBreaks : 0; }

void update(Node* node)
{
    node->totalLength = node->length + lengthOf(node->left) + lengthOf(node->right);
    node->totalBreaks = node->breaks + breaksOf(node->left) + breaksOf(node->right);
}

Node* merge(Node* left, Node* right)
{
    if (!left)
        return right;
    if (!right)
        return left;
    if (left->priority > right->priority) {
        left->right = merge(left->right, right);
        update(left);
        return left;
    }
    right->left = merge(left, right->left);
    update(right);
    return right;
}

void freeTree(Node* node)
{
    if (!node)
        return;
    freeTree(node->left);
    freeTree(node->right);
    delete node;
}

qsizetype countNodes(const Node* node)
{
    return node ? 1 + countNodes(node->left) + countNodes(node->right) : 0;
}

void findBreaksIn(QStringView text, qsizetype offset, std::vector<qsizetype>& out)
{
    for (qsizetype i = text.indexOf(u'\n'); i >= 0; i = text.indexOf(u'\n', i + 1))
        out.push_back(offset + i);
}

// The positions of the line breaks of a whole file; a large one is searched
// in parallel parts.
std::vector<qsizetype> findBreaks(QStringView text)
{
    std::vector<qsizetype> breaks;
    const int threads = QThread::idealThreadCount();
    if (text.size() < kParallelBreaks || threads < 2) {
        findBreaksIn(text, 0, breaks);
        return breaks;
    }
    const qsizetype partSize = (text.size() + threads - 1) / threads;
    std::vector<std::vector<qsizetype>> parts(threads);
    std::vector<std::unique_ptr<QThread>> workers;
    for (int i = 1; i < threads; ++i) {
        const qsizetype from = std::min(text.size(), i * partSize);
        const QStringView part = text.sliced(from, std::min(partSize, text.size() - from));
        workers.emplace_back(QThread::create([part, from, &found = parts[i]] { findBreaksIn(part, from, found); }));
        workers.back()->start();
    }
    findBreaksIn(text.first(std::min(partSize, text.size())), 0, parts[0]);
    qsizetype total = 0;
    for (int i = 0; i < threads; ++i) {
        if (i > 0)
            workers[i - 1]->wait();
        total += qsizetype(parts[i].size());
    }
    breaks.reserve(total);
    for (const auto& part : parts)
        breaks.insert(breaks.end(), part.begin(), part.end());
    return breaks;
}

// Marks of a text of `size` characters, moved by `offset`: those outside
// dropped, sorted, one per position.
CodeMarks cleanMarks(const CodeMarks& marks, qsizetype size, qsizetype offset)
{
    CodeMarks out;
    out.reserve(marks.size());
    for (const CodeMark& mark : marks) {
        if (mark.position >= 0 && mark.position < size)
            out.append({mark.position + offset, mark.code});
    }
    const auto before = [](const CodeMark& a, const CodeMark& b) { return a.position < b.position; };
    if (!std::is_sorted(out.cbegin(), out.cend(), before))
        std::stable_sort(out.begin(), out.end(), before);
    const auto same = [](const CodeMark& a, const CodeMark& b) { return a.position == b.position; };
    out.erase(std::unique(out.begin(), out.end(), same), out.end());
    return out;
}

// Calls visit(node, offset in the piece, count, document position) for each
// piece overlapping [from, to), in order or in reverse; stops when it
// returns false.
template <typename Visit>
bool forEachPiece(const Node* node, qsizetype base, qsizetype from, qsizetype to, bool backward, Visit& visit)
{
    if (!node || to <= base || from >= base + node->totalLength)
        return true;
    const qsizetype start = base + lengthOf(node->left);
    const qsizetype end = start + node->length;
    const auto own = [&] {
        const qsizetype first = std::max(from, start);
        const qsizetype last = std::min(to, end);
        return first >= last || visit(node, first - start, last - first, first);
    };
    if (backward) {
        return forEachPiece(node->right, end, from, to, true, visit) && own()
            && forEachPiece(node->left, base, from, to, true, visit);
    }
    return forEachPiece(node->left, base, from, to, false, visit) && own()
        && forEachPiece(node->right, end, from, to, false, visit);
}

} // namespace

void PieceTable::Edit::Free::operator()(Node* node) const { freeTree(node); }

PieceTable::Edit::Edit() = default;
PieceTable::Edit::Edit(Edit&&) noexcept = default;
PieceTable::Edit& PieceTable::Edit::operator=(Edit&&) noexcept = default;
PieceTable::Edit::~Edit() = default;

PieceTable::PieceTable()
    : state_(nextState())
{
    buffers_.emplace_back();
}

PieceTable::PieceTable(QString&& text, const CodeMarks& marks)
    : state_(nextState())
{
    Buffer original;
    original.breaks = findBreaks(text);
    original.marks = cleanMarks(marks, text.size(), 0);
    original.text = std::move(text);
    buffers_.push_back(std::move(original));
    if (!buffers_.front().text.isEmpty())
        root_ = newNode(0, 0, buffers_.front().text.size());
}

PieceTable::PieceTable(PieceTable&& other) noexcept
    : buffers_(std::move(other.buffers_))
    , root_(std::exchange(other.root_, nullptr))
    , state_(std::exchange(other.state_, nextState()))
    , random_(other.random_)
{
    other.buffers_.clear();
    other.buffers_.emplace_back();
}

PieceTable& PieceTable::operator=(PieceTable&& other) noexcept
{
    if (this != &other) {
        freeTree(std::exchange(root_, std::exchange(other.root_, nullptr)));
        buffers_ = std::move(other.buffers_);
        state_ = std::exchange(other.state_, nextState());
        random_ = other.random_;
        other.buffers_.clear();
        other.buffers_.emplace_back();
    }
    return *this;
}

PieceTable::~PieceTable() { freeTree(root_); }

qsizetype PieceTable::length() const { return lengthOf(root_); }

qsizetype PieceTable::lineCount() const { return breaksOf(root_) + 1; }

qsizetype PieceTable::lineStart(qsizetype line) const
{
    if (line <= 0)
        return 0;
    if (line >= lineCount())
        return length();
    // The line starts after the line-th break.
    qsizetype wanted = line;
    qsizetype base = 0;
    for (const Node* node = root_; node;) {
        const qsizetype leftBreaks = breaksOf(node->left);
        if (wanted <= leftBreaks) {
            node = node->left;
            continue;
        }
        base += lengthOf(node->left);
        wanted -= leftBreaks;
        if (wanted <= node->breaks) {
            const std::vector<qsizetype>& breaks = buffers_[node->buffer].breaks;
            const auto first = std::lower_bound(breaks.begin(), breaks.end(), node->start);
            return base + first[wanted - 1] - node->start + 1;
        }
        wanted -= node->breaks;
        base += node->length;
        node = node->right;
    }
    return length();
}

qsizetype PieceTable::lineAt(qsizetype position) const
{
    position = std::clamp<qsizetype>(position, 0, length());
    qsizetype line = 0;
    for (const Node* node = root_; node;) {
        const qsizetype leftLength = lengthOf(node->left);
        if (position < leftLength) {
            node = node->left;
            continue;
        }
        line += breaksOf(node->left);
        position -= leftLength;
        if (position < node->length)
            return line + breaksIn(node->buffer, node->start, node->start + position);
        line += node->breaks;
        position -= node->length;
        node = node->right;
    }
    return line;
}

qsizetype PieceTable::lineLength(qsizetype line) const
{
    if (line < 0 || line >= lineCount())
        return 0;
    const qsizetype end = line + 1 < lineCount() ? lineStart(line + 1) - 1 : length();
    return end - lineStart(line);
}

QChar PieceTable::charAt(qsizetype position) const
{
    if (position < 0 || position >= length())
        return {};
    for (const Node* node = root_; node;) {
        const qsizetype leftLength = lengthOf(node->left);
        if (position < leftLength) {
            node = node->left;
            continue;
        }
        position -= leftLength;
        if (position < node->length)
            return buffers_[node->buffer].text.at(node->start + position);
        position -= node->length;
        node = node->right;
    }
    return {};
}

QString PieceTable::text(qsizetype from, qsizetype length) const
{
    from = std::clamp<qsizetype>(from, 0, this->length());
    length = std::clamp<qsizetype>(length, 0, this->length() - from);
    // The untouched file whole: its own buffer, shared rather than copied.
    if (root_ && !root_->left && !root_->right && root_->buffer == 0 && root_->start == 0 && from == 0
        && length == buffers_[0].text.size())
        return buffers_[0].text;
    QString out;
    out.reserve(length);
    chunks(from, length, [&out](QStringView chunk) { out.append(chunk); });
    return out;
}

CodeMarks PieceTable::marks(qsizetype from, qsizetype length) const
{
    from = std::clamp<qsizetype>(from, 0, this->length());
    length = std::clamp<qsizetype>(length, 0, this->length() - from);
    CodeMarks out;
    auto visit = [&](const Node* node, qsizetype offset, qsizetype count, qsizetype position) {
        const CodeMarks& marks = buffers_[node->buffer].marks;
        const qsizetype start = node->start + offset;
        auto mark = std::lower_bound(marks.cbegin(), marks.cend(), start,
                                     [](const CodeMark& m, qsizetype p) { return m.position < p; });
        for (; mark != marks.cend() && mark->position < start + count; ++mark)
            out.append({position + (mark->position - start) - from, mark->code});
        return true;
    };
    forEachPiece(root_, 0, from, from + length, false, visit);
    return out;
}

void PieceTable::walk(qsizetype from, qsizetype length, bool backward, VisitFn fn, void* context) const
{
    from = std::clamp<qsizetype>(from, 0, this->length());
    length = std::clamp<qsizetype>(length, 0, this->length() - from);
    auto visit = [&](const Node* node, qsizetype offset, qsizetype count, qsizetype) {
        return fn(context, QStringView(buffers_[node->buffer].text).sliced(node->start + offset, count));
    };
    forEachPiece(root_, 0, from, from + length, backward, visit);
}

PieceTable::Edit PieceTable::replace(qsizetype from, qsizetype removedLength, QStringView text, const CodeMarks& marks)
{
    Edit edit;
    edit.from_ = std::clamp<qsizetype>(from, 0, length());
    edit.removedLength_ = std::clamp<qsizetype>(removedLength, 0, length() - edit.from_);
    edit.insertedLength_ = text.size();
    edit.before_ = edit.after_ = state_;
    if (edit.removedLength_ == 0 && text.isEmpty())
        return edit;
    if (edit.removedLength_ > 0 || !extendLastPiece(edit.from_, text, marks)) {
        Node* left = nullptr;
        Node* rest = nullptr;
        Node* removed = nullptr;
        Node* right = nullptr;
        split(root_, edit.from_, left, rest);
        split(rest, edit.removedLength_, removed, right);
        Node* inserted = nullptr;
        if (!text.isEmpty()) {
            qsizetype start = 0;
            const quint32 buffer = appendText(text, marks, start);
            inserted = newNode(buffer, start, text.size());
        }
        root_ = merge(merge(left, inserted), right);
        edit.detached_.reset(removed);
    }
    edit.after_ = state_ = nextState();
    return edit;
}

bool PieceTable::undo(Edit& edit)
{
    if (edit.undone_ || state_ != edit.after_)
        return false;
    swapRange(edit.from_, edit.insertedLength_, edit);
    state_ = edit.before_;
    edit.undone_ = true;
    return true;
}

bool PieceTable::redo(Edit& edit)
{
    if (!edit.undone_ || state_ != edit.before_)
        return false;
    swapRange(edit.from_, edit.removedLength_, edit);
    state_ = edit.after_;
    edit.undone_ = false;
    return true;
}

// Puts the record's detached pieces in place of [from, from + length) and
// keeps what was there in the record instead.
void PieceTable::swapRange(qsizetype from, qsizetype length, Edit& edit)
{
    Node* left = nullptr;
    Node* rest = nullptr;
    Node* taken = nullptr;
    Node* right = nullptr;
    split(root_, from, left, rest);
    split(rest, length, taken, right);
    root_ = merge(merge(left, edit.detached_.release()), right);
    edit.detached_.reset(taken);
}

qsizetype PieceTable::pieceCount() const { return countNodes(root_); }

qsizetype PieceTable::memoryUse() const
{
    qsizetype bytes = qsizetype(sizeof(*this)) + pieceCount() * qsizetype(sizeof(Node));
    for (const Buffer& buffer : buffers_) {
        bytes += qsizetype(sizeof(Buffer)) + buffer.text.capacity() * qsizetype(sizeof(QChar))
            + qsizetype(buffer.breaks.capacity() * sizeof(qsizetype))
            + buffer.marks.capacity() * qsizetype(sizeof(CodeMark));
    }
    return bytes;
}

PieceTable::Node* PieceTable::newNode(quint32 buffer, qsizetype start, qsizetype length)
{
    // xorshift64*: cheap, and the same tree shape on every run.
    random_ ^= random_ >> 12;
    random_ ^= random_ << 25;
    random_ ^= random_ >> 27;
    Node* node = new Node;
    node->buffer = buffer;
    node->start = start;
    node->length = length;
    node->breaks = breaksIn(buffer, start, start + length);
    node->priority = quint32((random_ * 0x2545f4914f6cdd1dULL) >> 32);
    update(node);
    return node;
}

qsizetype PieceTable::breaksIn(quint32 buffer, qsizetype start, qsizetype end) const
{
    const std::vector<qsizetype>& breaks = buffers_[buffer].breaks;
    const auto first = std::lower_bound(breaks.begin(), breaks.end(), start);
    return std::lower_bound(first, breaks.end(), end) - first;
}

// Splits the subtree into the first `position` characters and the rest,
// cutting a piece in two where the position falls inside it.
void PieceTable::split(Node* node, qsizetype position, Node*& left, Node*& right)
{
    if (!node) {
        left = right = nullptr;
        return;
    }
    const qsizetype leftLength = lengthOf(node->left);
    if (position <= leftLength) {
        split(node->left, position, left, node->left);
        update(node);
        right = node;
        return;
    }
    if (position >= leftLength + node->length) {
        split(node->right, position - leftLength - node->length, node->right, right);
        update(node);
        left = node;
        return;
    }
    const qsizetype head = position - leftLength;
    Node* tail = newNode(node->buffer, node->start + head, node->length - head);
    node->length = head;
    node->breaks -= tail->breaks;
    right = merge(tail, node->right);
    node->right = nullptr;
    update(node);
    left = node;
}

// Typing: an insertion right after the piece that ends where its buffer
// ends grows that piece (and the counts on its path) instead of adding one.
bool PieceTable::extendLastPiece(qsizetype from, QStringView text, const CodeMarks& marks)
{
    const quint32 last = quint32(buffers_.size() - 1);
    const Buffer& buffer = buffers_[last];
    if (from == 0 || last == 0 || buffer.text.capacity() - buffer.text.size() < text.size())
        return false;
    // The piece holding the character before the insertion must end there.
    qsizetype position = from - 1;
    const Node* node = root_;
    while (node) {
        const qsizetype leftLength = lengthOf(node->left);
        if (position < leftLength) {
            node = node->left;
        } else if (position < leftLength + node->length) {
            position -= leftLength;
            break;
        } else {
            position -= leftLength + node->length;
            node = node->right;
        }
    }
    if (!node || node->buffer != last || position != node->length - 1
        || node->start + node->length != buffer.text.size())
        return false;

    qsizetype start = 0;
    const qsizetype breaksBefore = qsizetype(buffer.breaks.size());
    if (appendText(text, marks, start) != last)
        return false;  // cannot happen: the room was checked above
    const qsizetype addedBreaks = qsizetype(buffers_[last].breaks.size()) - breaksBefore;
    position = from - 1;
    for (Node* step = root_; step;) {
        step->totalLength += text.size();
        step->totalBreaks += addedBreaks;
        const qsizetype leftLength = lengthOf(step->left);
        if (position < leftLength) {
            step = step->left;
        } else if (position < leftLength + step->length) {
            step->length += text.size();
            step->breaks += addedBreaks;
            break;
        } else {
            position -= leftLength + step->length;
            step = step->right;
        }
    }
    return true;
}

// Appends to the current append buffer when it has room left, else to a
// new one; returns the buffer and where the text starts in it.
quint32 PieceTable::appendText(QStringView text, const CodeMarks& marks, qsizetype& start)
{
    if (buffers_.size() == 1
        || buffers_.back().text.capacity() - buffers_.back().text.size() < text.size()) {
        Buffer fresh;
        fresh.text.reserve(std::max(kBlock, text.size()));
        buffers_.push_back(std::move(fresh));
    }
    Buffer& buffer = buffers_.back();
    start = buffer.text.size();
    buffer.text.append(text);
    const QStringView added = QStringView(buffer.text).sliced(start);
    if (added.size() < kParallelBreaks) {
        findBreaksIn(added, start, buffer.breaks);
    } else {
        const std::vector<qsizetype> found = findBreaks(added);
        buffer.breaks.reserve(buffer.breaks.size() + found.size());
        for (const qsizetype position : found)
            buffer.breaks.push_back(start + position);
    }
    buffer.marks.append(cleanMarks(marks, text.size(), start));
    return quint32(buffers_.size() - 1);
}

} // namespace pel
