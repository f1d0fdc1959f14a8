-- The names players hold, by their token's hash, and the rounds replayed.
CREATE TABLE names (
  name TEXT PRIMARY KEY,
  token_hash TEXT NOT NULL,
  created_ms BIGINT NOT NULL
);
CREATE TABLE rounds (
  id BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  ticket TEXT NOT NULL UNIQUE,
  list TEXT NOT NULL,
  recording TEXT NOT NULL,
  recording_hash TEXT NOT NULL,
  score INTEGER NOT NULL,
  level INTEGER NOT NULL,
  max_level INTEGER NOT NULL,
  rank_key INTEGER NOT NULL,
  created_ms BIGINT NOT NULL,
  name TEXT,
  hidden INTEGER NOT NULL DEFAULT 0
);
-- A board: a list's named rounds shown, best first, the earlier first among equals.
CREATE INDEX rounds_board ON rounds (list, rank_key DESC, id) WHERE name IS NOT NULL AND hidden = 0;
