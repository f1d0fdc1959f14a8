-- A day's or a week's board: a list's named rounds shown, by when they came.
CREATE INDEX rounds_recent ON rounds (list, created_ms) WHERE name IS NOT NULL AND hidden = 0;
