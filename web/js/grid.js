// The composition as editable grids: a tab per table, a text field per
// cell, the column's help shown for the cell being edited and errors marked
// on the cells they name. Cell text only ever goes into .value and
// .textContent: nothing typed or read from a file runs.

/**
 * A grid editor in `root`. `onEdit(table, row, column, text)` is called when a cell's text is changed;
 * `help(kind, column)` gives a column's help in the page's language.
 */
export function createGrid(root, { onEdit, help }) {
  const tabs = document.createElement('div');
  tabs.className = 'tabs';
  tabs.setAttribute('role', 'tablist');
  const sheet = document.createElement('div');
  sheet.className = 'sheet';
  const note = document.createElement('div');
  note.className = 'help';
  note.id = 'cell-help';
  root.replaceChildren(tabs, sheet, note);
  let tables = [];
  let errors = [];
  let shown = 0;
  let focus = null;

  const helpOf = (kind, column) => (kind ? help(kind, column) : '');
  const render = () => {
    tabs.replaceChildren(...tables.map((table, index) => {
      const tab = document.createElement('button');
      tab.type = 'button';
      tab.setAttribute('role', 'tab');
      tab.textContent = table.label;
      tab.setAttribute('aria-selected', String(index === shown));
      if (errors.some((e) => e.table === index)) tab.classList.add('error');
      tab.onclick = () => ((shown = index), render());
      return tab;
    }));
    const index = shown;
    const table = tables[index];
    const grid = document.createElement('table');
    grid.dataset.table = String(shown);
    if (table) {
      const width = Math.max(...table.rows.map((r) => r.length));
      table.rows.forEach((cells, r) => {
        const line = grid.insertRow();
        for (let c = 0; c < width; ++c) {
          const cell = line.insertCell();
          if (!cells[c]) continue;
          const field = document.createElement('input');
          field.value = cells[c].text;
          field.size = Math.min(48, Math.max(5, ...table.rows.map((row) => (row[c]?.text.length ?? 0) + 1)));
          field.dataset.row = String(r);
          field.dataset.column = String(c);
          field.setAttribute('aria-label', `${table.label} ${r}:${c}`);
          const columnHelp = helpOf(table.kind, c);
          if (r === 0 && columnHelp) cell.title = columnHelp;
          const error = errors.find((e) => e.table === shown && e.row === r && (e.column === c || e.column < 0));
          if (error) {
            cell.classList.add('error');
            cell.title = error.message;
          }
          field.onfocus = () => {
            focus = { table: shown, row: r, column: c };
            note.textContent = error ? error.message : columnHelp;
          };
          // After the focus has moved on, so that the grid drawn anew keeps it there.
          field.onchange = () => setTimeout(() => onEdit(index, r, c, field.value));
          field.onkeydown = (event) => {
            if (event.key !== 'Enter') return;
            event.preventDefault();
            field.blur();
            grid.querySelector(`input[data-row="${r + 1}"][data-column="${c}"]`)?.focus();
          };
          cell.append(field);
        }
      });
    }
    sheet.replaceChildren(grid);
    if (focus?.table === shown) sheet.querySelector(`input[data-row="${focus.row}"][data-column="${focus.column}"]`)?.focus();
  };

  return {
    /** Shows `next` tables with `marks` ([{table, row, column, message}]) marked; keeps the tab in view. */
    show(next, marks = []) {
      tables = next;
      errors = marks;
      if (shown >= tables.length) shown = 0;
      render();
    },
    /** Marks `marks` on the tables shown, opening the tab of the first. */
    mark(marks) {
      errors = marks;
      if (marks.length) shown = marks[0].table;
      render();
    },
    /** Opens the tab of table `index`. */
    open(index) {
      shown = index;
      render();
    },
  };
}
