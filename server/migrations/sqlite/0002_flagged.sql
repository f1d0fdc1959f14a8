-- A round no person could have typed: kept, and shown only to its player.
ALTER TABLE rounds ADD COLUMN flagged INTEGER NOT NULL DEFAULT 0;
