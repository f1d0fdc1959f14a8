-- What a watcher needs to play a round again from its start: its ticket's seed, and the words
-- it was played with (one a line), which a later change of its list does not change. Rounds
-- kept before have neither.
ALTER TABLE rounds ADD COLUMN seed BIGINT;
ALTER TABLE rounds ADD COLUMN words TEXT;
