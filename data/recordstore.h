#pragma once
// Row storage of a cached dataset: the values of every record, row-major, in
// blocks of a fixed number of rows so that a million rows never move once
// stored, plus a few bytes of bookkeeping per record. Records are addressed by
// slot: a slot never changes while the dataset stays open, which is what
// bookmarks, the change log and the filtered view hold on to.
#include <QVariant>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace md::data {

class RecordStore {
  public:
    enum Status : std::uint8_t { Unmodified, Modified, Inserted, Deleted, Dead };

    struct SlotInfo {
        Status status = Unmodified;
        // The values came from this dataset's insert, not from a read: a column
        // it left empty holds whatever the server filled in.
        bool inserted = false;
        int change = -1;            // index in the dataset's change log, -1 when none
        std::uint32_t calcGen = 0;  // calculated values are valid while equal to the dataset's
    };

    void reset(int width) {
        m_blocks.clear();
        m_width = width;
        m_count = 0;
    }

    int width() const { return m_width; }
    int slotCount() const { return m_count; }

    int allocate() {
        const int slot = m_count;
        if ((slot & kBlockMask) == 0) m_blocks.emplace_back(m_width);
        m_blocks.back().addRow();
        ++m_count;
        return slot;
    }

    QVariant* row(int slot) {
        return m_blocks[slot >> kBlockShift].cells + (slot & kBlockMask) * m_width;
    }
    const QVariant* row(int slot) const {
        return m_blocks[slot >> kBlockShift].cells + (slot & kBlockMask) * m_width;
    }

    SlotInfo& info(int slot) { return m_blocks[slot >> kBlockShift].info[slot & kBlockMask]; }
    const SlotInfo& info(int slot) const {
        return m_blocks[slot >> kBlockShift].info[slot & kBlockMask];
    }
    bool alive(int slot) const { return slot >= 0 && slot < m_count && info(slot).status != Dead; }

    // Frees the values of a record that is gone for good.
    void kill(int slot) {
        QVariant* cells = row(slot);
        for (int c = 0; c < m_width; ++c) cells[c] = QVariant();
        info(slot) = SlotInfo{Dead, false, -1, 0};
    }

  private:
    static constexpr int kBlockShift = 10;
    static constexpr int kBlockRows = 1 << kBlockShift;
    static constexpr int kBlockMask = kBlockRows - 1;

    // A block reserves room for all its rows at once (so rows never move) but
    // makes a row's values only when the row is allocated: a query of one row
    // pays for one row, not for a block of them.
    struct Block {
        explicit Block(int width)
            : width(std::max(width, 1)),
              cells(static_cast<QVariant*>(
                  ::operator new(sizeof(QVariant) * std::size_t(kBlockRows) * std::size_t(width)))),
              info(new SlotInfo[kBlockRows]) {}
        Block(Block&& other) noexcept
            : width(other.width),
              rows(other.rows),
              cells(other.cells),
              info(std::move(other.info)) {
            other.cells = nullptr;
            other.rows = 0;
        }
        Block& operator=(Block&&) = delete;
        Block(const Block&) = delete;
        ~Block() {
            if (!cells) return;
            for (std::size_t i = 0, n = std::size_t(rows) * std::size_t(width); i < n; ++i)
                cells[i].~QVariant();
            ::operator delete(cells);
        }
        void addRow() {
            QVariant* first = cells + std::size_t(rows) * std::size_t(width);
            for (int c = 0; c < width; ++c) new (first + c) QVariant();
            ++rows;
        }
        int width;
        int rows = 0;  // rows whose values exist
        QVariant* cells;
        std::unique_ptr<SlotInfo[]> info;
    };

    std::vector<Block> m_blocks;
    int m_width = 0;
    int m_count = 0;
};

}  // namespace md::data
