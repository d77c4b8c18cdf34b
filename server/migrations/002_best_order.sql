-- The tables read the best in the order they show them (time, start, id) straight from the
-- index, without sorting every completed round.
DROP INDEX rounds_best;
CREATE INDEX rounds_best ON rounds (seconds, started, id) WHERE completed;
