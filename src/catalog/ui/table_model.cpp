#include "catalog/ui/table_model.h"

#include <algorithm>

#include "catalog/table.h"
#include "core/error.h"
#include "core/prompts.h"

namespace kvf {
namespace {

QString Text(const TFieldValue& v) { return QString::fromStdString(ValueAsString(v)); }

}  // namespace

TTableModel::TTableModel(TTable& table, std::vector<std::string> fields, QObject* parent)
    : QAbstractTableModel(parent), table_(table), fields_(fields.empty() ? table.FieldNames() : std::move(fields)) {
  fetched_ = std::min(kBatch, table_.ViewCount());
  listener_ = table_.AddListener(
      [this](const TTableChange& c) { OnTableChange(static_cast<int>(c.kind), c.row, c.field); });
}

TTableModel::~TTableModel() { table_.RemoveListener(listener_); }

int TTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : fetched_; }

int TTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(fields_.size());
}

QVariant TTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::TextAlignmentRole) {  // numbers line up on the right
    const TFieldDef* f = table_.Def().FindDeclared(FieldAt(index.column()));
    return f && !f->IsText() ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
  }
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  return Text(table_.ValueAt(index.row(), FieldAt(index.column())));
}

QVariant TTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || section >= columnCount()) return {};
  const size_t s = static_cast<size_t>(section);
  return s < captions_.size() && !captions_[s].isEmpty() ? captions_[s] : QString::fromStdString(FieldAt(section));
}

bool TTableModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role) {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount() ||
      (role != Qt::EditRole && role != Qt::DisplayRole))
    return false;
  captions_.resize(fields_.size());
  captions_[static_cast<size_t>(section)] = value.toString();
  emit headerDataChanged(orientation, section, section);
  return true;
}

Qt::ItemFlags TTableModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (index.isValid() && table_.Editable()) f |= Qt::ItemIsEditable;
  return f;
}

bool TTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !table_.Editable()) return false;
  try {
    if (!table_.GotoBookmark(table_.BookmarkAt(index.row()))) return false;
    table_.Edit();
    table_.SetValue(FieldAt(index.column()), value.toString().toStdString());
    table_.Post();
    return true;
  } catch (const EKvfError& e) {
    table_.Cancel();
    ShowError(e.what());
    return false;
  }
}

bool TTableModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && fetched_ < table_.ViewCount();
}

void TTableModel::fetchMore(const QModelIndex& parent) {
  if (parent.isValid()) return;
  const int more = std::min(kBatch, table_.ViewCount() - fetched_);
  if (more <= 0) return;
  beginInsertRows({}, fetched_, fetched_ + more - 1);
  fetched_ += more;
  endInsertRows();
}

void TTableModel::StandOn(int row) { table_.GotoBookmark(table_.BookmarkAt(row)); }

void TTableModel::OnTableChange(int kind, int row, const std::string& field) {
  switch (static_cast<TTableEvent>(kind)) {
    case TTableEvent::Scrolled:
      emit CurrentRowChanged(row);  // never asks the table back: it is in the middle of a move
      break;
    case TTableEvent::RowChanged:
    case TTableEvent::FieldChanged:
      if (row >= 0 && row < fetched_) {
        int first = 0, last = columnCount() - 1;
        if (!field.empty())
          for (int c = 0; c < columnCount(); ++c)
            if (FieldAt(c) == field) first = last = c;
        emit dataChanged(index(row, first), index(row, last));
      }
      break;
    case TTableEvent::DataChanged:
      beginResetModel();
      fetched_ = table_.Active() ? std::min(std::max(kBatch, fetched_), table_.ViewCount()) : 0;
      endResetModel();
      break;
    case TTableEvent::StateChanged:
      break;
  }
}

}  // namespace kvf
