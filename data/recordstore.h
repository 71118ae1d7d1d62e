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
        ++m_count;
        return slot;
    }

    QVariant* row(int slot) {
        return m_blocks[slot >> kBlockShift].cells.get() + (slot & kBlockMask) * m_width;
    }
    const QVariant* row(int slot) const {
        return m_blocks[slot >> kBlockShift].cells.get() + (slot & kBlockMask) * m_width;
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

    struct Block {
        explicit Block(int width)
            : cells(new QVariant[std::size_t(kBlockRows) * std::size_t(std::max(width, 1))]),
              info(new SlotInfo[kBlockRows]) {}
        std::unique_ptr<QVariant[]> cells;
        std::unique_ptr<SlotInfo[]> info;
    };

    std::vector<Block> m_blocks;
    int m_width = 0;
    int m_count = 0;
};

}  // namespace md::data
