#pragma once
// What a table view shows as selected: the rows on screen it paints in the
// selection's colour. Header-only, for the window tests.

#include <QImage>
#include <QTableView>
#include <cstdlib>
#include <vector>

namespace listora::test {

inline std::vector<std::size_t> paintedSelectedRows(QTableView& view) {
    const QImage shown = view.viewport()->grab().toImage();
    const QColor highlight = view.palette().color(QPalette::Active, QPalette::Highlight);
    const QAbstractItemModel* model = view.model();
    const int lastColumn = model->columnCount() - 1;
    std::vector<std::size_t> rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        // Right of the last column's text; the style shades the focus row a little.
        const QRect cell = view.visualRect(model->index(row, lastColumn));
        if (!shown.rect().contains(cell.right() - 2, cell.center().y())) continue;
        const QColor colour = shown.pixelColor(cell.right() - 2, cell.center().y());
        if (std::abs(colour.red() - highlight.red()) + std::abs(colour.green() - highlight.green()) +
                std::abs(colour.blue() - highlight.blue()) <=
            12)
            rows.push_back(static_cast<std::size_t>(row));
    }
    return rows;
}

}  // namespace listora::test
