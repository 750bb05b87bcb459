#pragma once

#include <memory>
#include <utility>
#include <vector>

// A table of at most Capacity slots. count() is the number of leading slots ever handed
// out, emptied ones included; a slot below the count may be empty and is then reused
// before the table grows, lowest first. A table whose count has reached Capacity refuses
// new items even when it has empty slots. Storage grows on demand up to Capacity.
template <typename T, int Capacity>
class SlotTable
{
public:
    static constexpr int capacity = Capacity;

    // Slots ever handed out; slots at or beyond it are never read.
    int count() const { return int(m_slots.size()); }
    bool isFull() const { return count() >= Capacity; }
    bool isUsed(int i) const { return i >= 0 && i < count() && m_slots[size_t(i)] != nullptr; }
    // Used slots below the count.
    int usedCount() const { return count() - m_emptyCount; }
    // How many more items add() takes: the empty slots, then the slots up to Capacity.
    int room() const { return isFull() ? 0 : Capacity - count() + m_emptyCount; }

    // The item in slot i; null when the slot is empty or outside the count.
    T *find(int i) { return isUsed(i) ? m_slots[size_t(i)].get() : nullptr; }
    const T *find(int i) const { return isUsed(i) ? m_slots[size_t(i)].get() : nullptr; }
    // The item in a used slot (the caller has checked isUsed).
    T &operator[](int i) { return *m_slots[size_t(i)]; }
    const T &operator[](int i) const { return *m_slots[size_t(i)]; }

    // Stores item in the lowest empty slot, else in a new slot; -1 when the table is full.
    int add(T item)
    {
        if (isFull())
            return -1;
        int slot = count();
        if (m_emptyCount > 0) {
            slot = 0;
            while (m_slots[size_t(slot)])
                ++slot;
            --m_emptyCount;
            m_slots[size_t(slot)] = std::make_unique<T>(std::move(item));
        } else {
            m_slots.push_back(std::make_unique<T>(std::move(item)));
        }
        return slot;
    }

    // Empties a used slot; the count does not shrink.
    void remove(int i)
    {
        if (!isUsed(i))
            return;
        m_slots[size_t(i)].reset();
        ++m_emptyCount;
    }

    // Deletes every item and starts again with a count of 0.
    void clear()
    {
        m_slots.clear();
        m_emptyCount = 0;
    }

    // Calls f(slot, item) for every used slot below the count, in slot order.
    template <typename F>
    void forEachUsed(F &&f)
    {
        for (int i = 0; i < count(); ++i)
            if (m_slots[size_t(i)])
                f(i, *m_slots[size_t(i)]);
    }
    template <typename F>
    void forEachUsed(F &&f) const
    {
        for (int i = 0; i < count(); ++i)
            if (m_slots[size_t(i)])
                f(i, std::as_const(*m_slots[size_t(i)]));
    }

private:
    std::vector<std::unique_ptr<T>> m_slots; // null = empty slot
    int m_emptyCount = 0;                    // empty slots below the count
};
